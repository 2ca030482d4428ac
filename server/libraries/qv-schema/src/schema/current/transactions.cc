#include "schema/current/transactions.h"

#include <array>
#include <cstddef>
#include <string>

#include "schema/current/executions.h"
#include "schema/current/function_run_status_count.h"
#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"

namespace schema::current::transactions {
namespace {

using T = Transactions;
using executions::Executions;
using sql::id_column;
using sql::logical_id_column;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using users::Users;

constexpr std::array<std::string_view, 13> kNames = {
    "transactions",    "id",           "project_id",      "collection_id", "execution_id", "transaction_by",
    "transaction_key", "triggered_on", "triggered_by_id", "group_id",      "status",       "started_on",
    "ended_on",
};

}  // namespace

std::string_view to_string(Transactions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(T::Table)
      .col(logical_id_column(T::Id).not_null().primary_key())
      .col(id_column(T::ProjectId).not_null())
      .col(id_column(T::CollectionId).not_null())
      .col(logical_id_column(T::ExecutionId).not_null())
      .col(ColumnDef(T::TransactionBy).text().not_null())
      .col(ColumnDef(T::TransactionKey).text().not_null())
      .col(ColumnDef(T::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(id_column(T::TriggeredById).not_null())
      .col(id_column(T::GroupId).not_null())
      .col(ColumnDef(T::Status).text().not_null().default_value(sqlbuilder::val(std::string("S"))))
      .col(ColumnDef(T::StartedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(T::EndedOn).timestamp_with_time_zone().null())
      .foreign_key({T::CollectionId}, "collections", {"id"})
      .foreign_key({T::ExecutionId}, Executions::Table, {Executions::Id})
      .foreign_key({T::GroupId}, "groups", {"id"});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(T::Table); };
  return {
      index("transactions___group_id__project_id___idx").col(T::GroupId).col(T::ProjectId),
      index("transactions___execution_id__triggered_on__id___idx").col(T::ExecutionId).col(T::TriggeredOn).col(T::Id),
      index("transactions___project_id__id___idx").col(T::ProjectId).col(T::Id),
      index("transactions___project_id__triggered_on__id___idx").col(T::ProjectId).col(T::TriggeredOn).col(T::Id),
      index("transactions___triggered_on__id___idx").col(T::TriggeredOn).col(T::Id),
      index("transactions___project_id__status__triggered_on__id___idx")
          .col(T::ProjectId)
          .col(T::Status)
          .col(T::TriggeredOn)
          .col(T::Id),
      index("transactions___project_id__started_on__id___idx").col(T::ProjectId).col(T::StartedOn).col(T::Id),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col(Executions::Table, Executions::Name), "execution")
      .expr_as(render::name_or_id(Users::Table, Users::Name, T::Table, T::TriggeredById), "triggered_by")
      .expr_as(col("groups_for_transactions", "name"), "group")
      .expr_as(col("projects_resolved", "name"), "project")
      .expr_as(function_run_status_count("transaction_id", col(T::Table, T::Id)), "function_run_status_count")
      .from(T::Table)
      .join(JoinType::Left, "collections_resolved",
            col(T::Table, T::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, Executions::Table, col(T::Table, T::ExecutionId).eq(col(Executions::Table, Executions::Id)))
      .join(JoinType::Left, Users::Table, col(T::Table, T::TriggeredById).eq(col(Users::Table, Users::Id)))
      .join(JoinType::Left, "projects_resolved", col(T::Table, T::ProjectId).eq(col("projects_resolved", "id")))
      .join_as(JoinType::Left, "groups", "groups_for_transactions",
               col(T::Table, T::GroupId).eq(col("groups_for_transactions", "id")));
  return {{"transactions__with_names", query}};
}

}  // namespace schema::current::transactions

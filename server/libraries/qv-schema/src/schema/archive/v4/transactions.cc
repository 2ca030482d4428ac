#include "schema/archive/v4/transactions.h"

#include <array>
#include <cstddef>

#include "schema/archive/v4/executions.h"
#include "schema/render.h"

namespace schema::archive::v4::transactions {
namespace {

using T = Transactions;
using executions::Executions;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 10> kNames = {
    "transactions",    "id",           "project_id",      "collection_id", "execution_id", "transaction_by",
    "transaction_key", "triggered_on", "triggered_by_id", "group_id",
};

}  // namespace

std::string_view to_string(Transactions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(T::Table)
      .col(ColumnDef(T::Id).text().not_null().primary_key())
      .col(ColumnDef(T::ProjectId).text().not_null())
      .col(ColumnDef(T::CollectionId).text().not_null())
      .col(ColumnDef(T::ExecutionId).text().not_null())
      .col(ColumnDef(T::TransactionBy).text().not_null())
      .col(ColumnDef(T::TransactionKey).text().not_null())
      .col(ColumnDef(T::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(T::TriggeredById).text().not_null())
      .col(ColumnDef(T::GroupId).text().not_null())
      .foreign_key({T::CollectionId}, "collections", {"id"})
      .foreign_key({T::ExecutionId}, Executions::Table, {Executions::Id})
      .foreign_key({T::ProjectId, T::GroupId}, "groups", {"project_id", "id"});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(T::Table); };
  return {
      index("transactions___project_id__group_id___idx").col(T::ProjectId).col(T::GroupId),
      index("transactions___execution_id___idx").col(T::ExecutionId),
      index("transactions___project_id__id___idx").col(T::ProjectId).col(T::Id),
      index("transactions___project_id__triggered_on__id___idx").col(T::ProjectId).col(T::TriggeredOn).col(T::Id),
  };
}

// A group is identified within its project, so its join matches both.
std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col(Executions::Table, Executions::Name), "execution")
      .expr_as(render::name_or_id("users", "name", T::Table, T::TriggeredById), "triggered_by")
      .expr_as(col("groups_for_transactions", "name"), "group")
      .expr_as(col("projects_resolved", "name"), "project")
      .from(T::Table)
      .join(JoinType::Left, "collections_resolved",
            col(T::Table, T::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, Executions::Table, col(T::Table, T::ExecutionId).eq(col(Executions::Table, Executions::Id)))
      .join(JoinType::Left, "users", col(T::Table, T::TriggeredById).eq(col("users", "id")))
      .join(JoinType::Left, "projects_resolved", col(T::Table, T::ProjectId).eq(col("projects_resolved", "id")))
      .join_as(JoinType::Left, "groups", "groups_for_transactions",
               col(T::Table, T::GroupId)
                   .eq(col("groups_for_transactions", "id"))
                   .and_(col("groups_for_transactions", "project_id").eq(col(T::Table, T::ProjectId))));
  return {{"transactions__with_names", query}};
}

}  // namespace schema::archive::v4::transactions

#include "schema/archive/v4/triggers.h"

#include <array>
#include <cstddef>

#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::archive::v4::triggers {
namespace {

using T = Triggers;
using sql::scd2::open_interval;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 14> kNames = {
    "triggers",
    "id",
    "project_id",
    "collection_id",
    "trigger_id",
    "function_id",
    "trigger_by_collection_id",
    "trigger_by_function_id",
    "trigger_by_table_id",
    "status",
    "defined_on",
    "defined_by_id",
    "system",
    "valid_to",
};

constexpr std::string_view kWithNames = "triggers__with_names";

sqlbuilder::Select with_names() {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("trigger_by_collection", "name"), "trigger_by_collection")
      .from(T::Table)
      .join(JoinType::Left, "collections_resolved",
            col(T::Table, T::CollectionId).eq(col("collections_resolved", "id")))
      .join_as(JoinType::Left, "collections_resolved", "trigger_by_collection",
               col(T::Table, T::TriggerByCollectionId).eq(col("trigger_by_collection", "id")));
  return query;
}

// The rows that are not the system's own, read through the first view.
sqlbuilder::Select read() {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk()).from(kWithNames).and_where(col(kWithNames, T::System).eq(sqlbuilder::val(false)));
  return query;
}

}  // namespace

std::string_view to_string(Triggers iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(T::Table)
      .col(ColumnDef(T::Id).text().not_null().primary_key())
      .col(ColumnDef(T::ProjectId).text().not_null())
      .col(ColumnDef(T::CollectionId).text().not_null())
      .col(ColumnDef(T::TriggerId).text().not_null())
      .col(ColumnDef(T::FunctionId).text().not_null())
      .col(ColumnDef(T::TriggerByCollectionId).text().not_null())
      .col(ColumnDef(T::TriggerByFunctionId).text().not_null())
      .col(ColumnDef(T::TriggerByTableId).text().not_null())
      .col(ColumnDef(T::Status).text().not_null())
      .col(ColumnDef(T::DefinedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(T::DefinedById).text().not_null())
      .col(ColumnDef(T::System).boolean().not_null())
      .col(ColumnDef(T::ValidTo).timestamp_with_time_zone().not_null())
      .foreign_key({T::CollectionId}, "collections", {"id"});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(T::Table); };
  return {
      index("triggers___project_id__status___current_idx").col(T::ProjectId).col(T::Status).and_where(open_interval()),
      index("triggers___project_id__id___idx").col(T::ProjectId).col(T::Id),
      index("triggers___trigger_by_table_id___current_idx").col(T::TriggerByTableId).and_where(open_interval()),
      index("triggers___trigger_by_table_id___idx").col(T::TriggerByTableId),
      index("triggers___function_id___idx").col(T::FunctionId),
      index("triggers___trigger_id__defined_on__id___idx").col(T::TriggerId).col(T::DefinedOn).col(T::Id),
      index("triggers___trigger_id___current_uidx").col(T::TriggerId).unique().and_where(open_interval()),
      index("triggers___function_id___current_idx").col(T::FunctionId).and_where(open_interval()),
  };
}

// "triggers__read" selects from "triggers__with_names", so it comes second:
// created after it and dropped before it.
std::vector<sql::view::ViewDef> Defs::create_views() const {
  return {{kWithNames, with_names()}, {"triggers__read", read()}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close{
      sql::trigger::close_trigger_name(to_string(T::Table)), T::Table, T::TriggerId, T::DefinedOn, T::ValidTo, T::Id};
  return {close.derived()};
}

}  // namespace schema::archive::v4::triggers

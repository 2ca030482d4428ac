#include "schema/current/tables.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "schema/current/functions.h"
#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::current::tables {
namespace {

using T = Tables;
using functions::Functions;
using sql::id_column;
using sql::scd2::open_interval;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using users::Users;

constexpr std::array<std::string_view, 17> kNames = {
    "tables",
    "id",
    "project_id",
    "collection_id",
    "table_id",
    "name",
    "function_id",
    "function_version_id",
    "function_param_pos",
    "private",
    "partitioned",
    "valid_from",
    "defined_by_id",
    "status",
    "table_type",
    "valid_to",
    "parent_table_id",
};

}  // namespace

std::string_view to_string(Tables iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(T::Table)
      .col(id_column(T::Id).not_null().primary_key())
      .col(id_column(T::ProjectId).not_null())
      .col(id_column(T::CollectionId).not_null())
      .col(id_column(T::TableId).not_null())
      .col(ColumnDef(T::Name).text().not_null())
      .col(id_column(T::FunctionId).null())
      .col(ColumnDef(T::FunctionVersionId).big_integer().not_null())
      .col(ColumnDef(T::FunctionParamPos).integer().null())
      .col(ColumnDef(T::Private).boolean().not_null())
      .col(ColumnDef(T::Partitioned).boolean().null())
      .col(ColumnDef(T::ValidFrom).timestamp_with_time_zone().not_null())
      .col(id_column(T::DefinedById).not_null())
      .col(ColumnDef(T::Status).text().not_null())
      .col(ColumnDef(T::TableType).text().not_null().default_value(sqlbuilder::val(std::string("R"))))
      .col(ColumnDef(T::ValidTo).timestamp_with_time_zone().not_null())
      .col(id_column(T::ParentTableId).null())
      .foreign_key({T::CollectionId}, "collections", {"id"})
      .foreign_key({T::FunctionVersionId}, Functions::Table, {Functions::Id});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(T::Table); };
  return {
      index("tables___collection_id__name___current_uidx")
          .col(T::CollectionId)
          .col(T::Name)
          .unique()
          .and_where(open_interval()),
      index("tables___project_id__status___current_idx").col(T::ProjectId).col(T::Status).and_where(open_interval()),
      index("tables___project_id__id___idx").col(T::ProjectId).col(T::Id),
      index("tables___collection_id__name___idx").col(T::CollectionId).col(T::Name),
      index("tables___function_version_id___idx").col(T::FunctionVersionId),
      index("tables___function_id__status___idx").col(T::FunctionId).col(T::Status),
      index("tables___table_id__valid_from__id___idx").col(T::TableId).col(T::ValidFrom).col(T::Id),
      index("tables___table_id___current_uidx").col(T::TableId).unique().and_where(open_interval()),
      index("tables___function_id___current_idx").col(T::FunctionId).and_where(open_interval()),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .expr_as(col(T::Table, T::FunctionParamPos).lt(sqlbuilder::val(std::int32_t{0})), "system")
      .expr_as(render::name_or_id(Users::Table, Users::Name, T::Table, T::DefinedById), "defined_by")
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col(Functions::Table, Functions::Name), "function")
      .from(T::Table)
      .join(JoinType::Left, "collections_resolved",
            col(T::Table, T::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, Functions::Table,
            col(T::Table, T::FunctionVersionId).eq(col(Functions::Table, Functions::Id)))
      .join(JoinType::Left, Users::Table, col(T::Table, T::DefinedById).eq(col(Users::Table, Users::Id)));
  return {{"tables__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close{
      sql::trigger::close_trigger_name(to_string(T::Table)), T::Table, T::TableId, T::ValidFrom, T::ValidTo, T::Id};
  return {close.derived()};
}

}  // namespace schema::current::tables

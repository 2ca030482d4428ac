#include "schema/deltas/v1_to_v3.h"

#include "schema/render.h"
#include "sqlbuilder/column.h"
#include "sqlbuilder/table.h"
#include "sqlbuilder/update.h"

namespace schema::deltas {

using render::render_query;
using render::render_schema;
using render::update_db_version;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::TableAlter;
using sqlbuilder::Update;
using sqlbuilder::val;

namespace {

// A run takes the base path of its function version, else of its
// collection, else of its project.
constexpr const char* kInheritedBasePath = R"sql(COALESCE(
  (SELECT "functions"."base_path" FROM "functions"
    WHERE "functions"."id" = "physical_function_runs"."function_version_id"),
  (SELECT "collections"."base_path" FROM "collections"
    WHERE "collections"."id" = "physical_function_runs"."collection_id"),
  (SELECT "projects"."base_path" FROM "projects"
    WHERE "projects"."id" = "physical_function_runs"."project_id"),
  ''
))sql";

}  // namespace

namespace v1_to_v2 {

source::Delta delta() {
  Update no_placeholder;
  no_placeholder.table("users").set("email", val(sqlbuilder::Null{})).and_where(col("email").eq(val(std::string("-"))));
  return {{render_query(std::move(no_placeholder)), update_db_version(2)}, {}};
}

}  // namespace v1_to_v2

namespace v2_to_v3 {

source::Delta delta() {
  TableAlter add;
  add.table("physical_function_runs").add_column(ColumnDef("base_path").text().null());
  Update fill;
  fill.table("physical_function_runs").set("base_path", sqlbuilder::custom(kInheritedBasePath));
  TableAlter require;
  require.table("physical_function_runs").modify_column(ColumnDef("base_path").text().not_null());
  return {{render_schema(add), render_query(std::move(fill)), render_schema(require), update_db_version(3)}, {}};
}

}  // namespace v2_to_v3
}  // namespace schema::deltas

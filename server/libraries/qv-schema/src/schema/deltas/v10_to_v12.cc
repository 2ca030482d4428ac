#include "schema/deltas/v10_to_v12.h"

#include <string>

#include "schema/render.h"
#include "schema/sql/column.h"
#include "sqlbuilder/column.h"
#include "sqlbuilder/delete.h"
#include "sqlbuilder/table.h"
#include "sqlbuilder/update.h"

namespace schema::deltas {

using render::render_query;
using render::render_schema;
using sql::id_column;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::TableAlter;
using sqlbuilder::val;

namespace v10_to_v11 {

source::Delta delta() {
  TableAlter add_type;
  add_type.table("functions").add_column(ColumnDef("function_type").text().null());
  // Every function before version 11 is a regular one.
  sqlbuilder::Update regular;
  regular.table("functions").set("function_type", val(std::string("R")));
  TableAlter require_type;
  require_type.table("functions").modify_column(ColumnDef("function_type").text().not_null());
  TableAlter add_parent;
  add_parent.table("functions").add_column(id_column("parent_function_id").null());
  return {{render_schema(add_type), render_query(std::move(regular)), render_schema(require_type),
           render_schema(add_parent), render::update_db_version(11)},
          {}};
}

}  // namespace v10_to_v11

namespace v11_to_v12 {

namespace {

sqlbuilder::TableCreate service_tokens() {
  sqlbuilder::TableCreate table;
  table.table("service_tokens")
      .col(id_column("id").not_null().primary_key())
      .col(id_column("user_id").not_null())
      .col(ColumnDef("slot").integer().not_null().check(col("slot").in({val(1), val(2)})))
      .col(ColumnDef("digest").text().not_null().unique_key())
      .col(ColumnDef("hint").text().not_null())
      .col(ColumnDef("comment").text().null())
      .col(ColumnDef("created_on").timestamp_with_time_zone().not_null())
      .col(ColumnDef("expires_on").timestamp_with_time_zone().not_null())
      .col(ColumnDef("last_used_on").timestamp_with_time_zone().null())
      .col(ColumnDef("scope").text().not_null())
      .col(ColumnDef("system").boolean().not_null())
      .foreign_key({"user_id"}, "users", {"id"});
  return table;
}

}  // namespace

source::Delta delta() {
  TableAlter add_parent;
  add_parent.table("tables").add_column(id_column("parent_table_id").null());
  sqlbuilder::Delete old_token_sessions;
  old_token_sessions.from("sessions")
      .and_where(col("access_token_id").eq(val(std::string("k0000000000000000000000004"))));
  return {{render_schema(service_tokens()), render_schema(add_parent), render_query(std::move(old_token_sessions)),
           render::update_db_version(12)},
          {}};
}

}  // namespace v11_to_v12
}  // namespace schema::deltas

#include "schema/render.h"

#include "sqlbuilder/template.h"

namespace schema::render {

std::string render_schema(const sqlbuilder::TableCreate& statement) { return sqlbuilder::to_sql(statement); }
std::string render_schema(const sqlbuilder::TableAlter& statement) { return sqlbuilder::to_sql(statement); }
std::string render_schema(const sqlbuilder::IndexDrop& statement) { return sqlbuilder::to_sql(statement); }

std::string render_query(sqlbuilder::Insert statement) { return sqlbuilder::to_sql(statement); }
std::string render_query(sqlbuilder::Update statement) { return sqlbuilder::to_sql(statement); }
std::string render_query(sqlbuilder::Delete statement) { return sqlbuilder::to_sql(statement); }

std::string update_db_version(source::Version version) {
  return sqlbuilder::format_template("UPDATE quorvale_system SET value = '{}' WHERE name = 'db_version'",
                                     {std::to_string(version)});
}

sqlbuilder::Expr name_or_id(const sqlbuilder::Iden& name_table, const sqlbuilder::Iden& name_column,
                            const sqlbuilder::Iden& id_table, const sqlbuilder::Iden& id_column) {
  return sqlbuilder::custom(
      sqlbuilder::format_template("COALESCE({}.{}, '[' || {}.{} || ']')",
                                  {name_table.text(), name_column.text(), id_table.text(), id_column.text()}));
}

std::string json_object_agg(std::string_view key, std::string_view value) {
  // '{}'::jsonb makes an empty group an empty object instead of NULL.
  return sqlbuilder::format_template("COALESCE(jsonb_object_agg({}, {}), '{{}}'::jsonb)",
                                     {std::string(key), std::string(value)});
}

}  // namespace schema::render

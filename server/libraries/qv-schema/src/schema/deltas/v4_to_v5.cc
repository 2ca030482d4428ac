#include "schema/deltas/v4_to_v5.h"

#include <cstdio>
#include <cstdlib>

#include "schema/archive/v4/entities.h"
#include "schema/deltas/shared.h"
#include "schema/render.h"
#include "schema/sql/rls.h"
#include "sqlbuilder/template.h"

namespace schema::deltas::v4_to_v5 {

using sqlbuilder::format_template;

namespace {

bool is_identifier(const std::string& column) { return column == "id" || column.ends_with("_id"); }

// ALTER COLUMN "a" TYPE text COLLATE "C", ALTER COLUMN "b_id" ...
std::string identifier_clauses(const sqlbuilder::TableCreate& table) {
  std::string clauses;
  for (const std::string& column : table.column_names()) {
    if (!is_identifier(column)) continue;
    if (!clauses.empty()) clauses += ", ";
    clauses += format_template("ALTER COLUMN \"{}\" TYPE text {}", {column, "COLLATE \"C\""});
  }
  return clauses;
}

}  // namespace

std::vector<std::string> id_columns(std::span<const entity::Entity* const> entities) {
  std::vector<std::string> texts;
  for (const entity::Entity* entity : entities) {
    for (const sqlbuilder::TableCreate& table : entity->create_tables()) {
      if (table.table_name().empty()) {
        // The builder names tables only by a plain name: a defect of the module.
        std::fputs("CREATE TABLE on an unexpected table reference: (none)\n", stderr);
        std::abort();
      }
      const std::string clauses = identifier_clauses(table);
      if (!clauses.empty()) texts.push_back(format_template("ALTER TABLE \"{}\" {}", {table.table_name(), clauses}));
    }
  }
  return texts;
}

source::Delta delta() {
  std::vector<std::string> up;
  for (const std::string_view table : shared::kProjectScopedTables) {
    up.push_back(shared::drop_isolation_policy(table));
    up.push_back(shared::drop_across_projects_policy(table));
  }
  shared::append(up, id_columns(archive::v4::v4_entities()));
  for (const std::string_view table : shared::kProjectScopedTables) {
    up.push_back(sql::rls::isolation_policy(table));
    up.push_back(sql::rls::across_projects_policy(table));
  }
  up.push_back(render::update_db_version(5));
  return {std::move(up), {}};
}

}  // namespace schema::deltas::v4_to_v5

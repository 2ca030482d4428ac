#include "schema/deltas/shared.h"

#include <utility>

#include "sqlbuilder/template.h"

namespace schema::deltas::shared {

using sqlbuilder::format_template;

std::string drop_isolation_policy(std::string_view table) {
  return format_template("DROP POLICY project_isolation ON {}", {std::string(table)});
}

std::string drop_across_projects_policy(std::string_view table) {
  return format_template("DROP POLICY across_projects ON {}", {std::string(table)});
}

std::vector<std::string> drop_indexes(const std::vector<std::string_view>& names) {
  std::vector<std::string> texts;
  for (const std::string_view name : names)
    texts.push_back(format_template("DROP INDEX IF EXISTS \"{}\"", {std::string(name)}));
  return texts;
}

std::string set_work_mem() { return format_template("SET LOCAL work_mem = '{}'", {"64MB"}); }

std::string reset_work_mem() { return "RESET work_mem"; }

void append(std::vector<std::string>& texts, std::vector<std::string> more) {
  for (std::string& text : more) texts.push_back(std::move(text));
}

}  // namespace schema::deltas::shared

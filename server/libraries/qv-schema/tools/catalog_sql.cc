// Writes what the catalog renders as a psql script, each text followed by
// ";" and a new line:
//   catalog_sql install   the system table and the install batch of a fresh schema
//   catalog_sql drops     the drop scripts of the derived objects
//   catalog_sql creates   the create scripts of the derived objects
// Row-level security names the role "qv_across_projects", which the script
// does not create.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "schema/current/source.h"
#include "schema/quorvale_system.h"
#include "schema/render.h"

namespace {

using schema::source::Derived;

void append_creates(std::vector<std::string>& texts, const std::vector<Derived>& objects) {
  for (const Derived& object : objects) texts.insert(texts.end(), object.create.begin(), object.create.end());
}

void append(std::vector<std::string>& texts, const std::vector<std::string>& more) {
  texts.insert(texts.end(), more.begin(), more.end());
}

// The order in which the database layer installs a fresh schema.
std::vector<std::string> install(const schema::source::SchemaSource& source) {
  std::vector<std::string> texts = {schema::render::render_schema(schema::create_system_table())};
  append(texts, source.tables());
  append_creates(texts, source.triggers());
  append_creates(texts, source.views());
  append_creates(texts, source.indexes());
  append_creates(texts, source.statistics());
  append(texts, source.seeds());
  append(texts, source.rls());
  return texts;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc == 2 ? argv[1] : "";
  const schema::current::Source source;
  std::vector<std::string> texts;
  if (command == "install") {
    texts = install(source);
  } else if (command == "drops") {
    texts = schema::source::derived_scripts(source).drops;
  } else if (command == "creates") {
    texts = schema::source::derived_scripts(source).creates;
  } else {
    std::cerr << "usage: catalog_sql install|drops|creates\n";
    return 2;
  }
  for (const std::string& text : texts) std::cout << text << ";\n";
  return std::cout.flush() ? 0 : 1;
}

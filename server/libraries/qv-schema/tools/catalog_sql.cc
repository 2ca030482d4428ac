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

// The system table, then the install batch of a fresh schema.
std::vector<std::string> install(const schema::source::SchemaSource& source) {
  std::vector<std::string> texts = {schema::render::render_schema(schema::create_system_table())};
  const std::vector<std::string> batch = schema::source::install_batch(source);
  texts.insert(texts.end(), batch.begin(), batch.end());
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

// Writes what the catalog renders as a psql script, each text followed by
// ";" and a new line:
//   catalog_sql install     the system table and the install batch of a fresh schema
//   catalog_sql drops       the drop scripts of the derived objects
//   catalog_sql creates     the create scripts of the derived objects
//   catalog_sql v4-install  a database at version 4: the frozen version-4 schema
//                           with its row-level security and "db_version" '4'
//   catalog_sql delta N     the version step to N (2..13): its retired texts,
//                           then its up texts
// Row-level security names the role "qv_across_projects", which the script
// does not create.

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schema/archive/v4/baseline.h"
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

// The target of "delta N": decimal digits only.
std::optional<schema::source::Version> target(std::string_view text) {
  schema::source::Version version = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return version;
}

int usage() {
  std::cerr << "usage: catalog_sql install|drops|creates|v4-install|delta N\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const schema::current::Source source;
  std::vector<std::string> texts;
  if (args.size() == 2 && args[0] == "delta") {
    const std::optional<schema::source::Version> version = target(args[1]);
    if (!version) return usage();
    const auto delta = source.delta(*version);
    if (!delta) {
      std::cerr << delta.error() << "\n";
      return 1;
    }
    texts = delta->retired;
    texts.insert(texts.end(), delta->up.begin(), delta->up.end());
  } else if (args.size() != 1) {
    return usage();
  } else if (args[0] == "install") {
    texts = install(source);
  } else if (args[0] == "drops") {
    texts = schema::source::derived_scripts(source).drops;
  } else if (args[0] == "creates") {
    texts = schema::source::derived_scripts(source).creates;
  } else if (args[0] == "v4-install") {
    texts = schema::archive::v4::v4_install_texts();
  } else {
    return usage();
  }
  for (const std::string& text : texts) std::cout << text << ";\n";
  return std::cout.flush() ? 0 : 1;
}

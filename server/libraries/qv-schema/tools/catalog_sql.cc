// Writes what the catalog renders as a psql script, each text followed by
// ";" and a new line:
//   catalog_sql install     the system table and the install batch of a fresh schema
//   catalog_sql drops       the drop scripts of the derived objects
//   catalog_sql creates     the create scripts of the derived objects
//   catalog_sql v4-install  a database at version 4: the frozen version-4 schema
//                           with its row-level security and "db_version" '4'
//   catalog_sql delta N     the version step to N (2..13): its retired texts,
//                           then its up texts
//   catalog_sql migrate FROM  the migration of a database at version FROM
//                           (1..12) to the current version, in the order of
//                           the upgrade: the retired texts of every step,
//                           newest first, and the derived drops; each step's
//                           up texts; the version row; the derived creates
// Row-level security names the role "qv_across_projects", which the script
// does not create.

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

// The version of "delta N" and "migrate FROM": decimal digits only.
std::optional<schema::source::Version> version_of(std::string_view text) {
  schema::source::Version version = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return version;
}

void append(std::vector<std::string>& texts, const std::vector<std::string>& more) {
  texts.insert(texts.end(), more.begin(), more.end());
}

// The steps from `stored` to the current version, as the upgrade runs them;
// the first step that the catalog cannot give fails.
qv_common::Result<std::vector<std::string>, std::string> migration(const schema::source::SchemaSource& source,
                                                                 schema::source::Version stored) {
  if (stored == 0) return qv_common::fail(std::string("no version step leads to version 1"));
  if (stored >= source.current_version()) {
    return qv_common::fail("version " + std::to_string(stored) + " is not behind the catalog");
  }
  std::vector<schema::source::Delta> deltas;
  for (schema::source::Version target = stored + 1; target <= source.current_version(); ++target) {
    auto delta = source.delta(target);
    if (!delta) return qv_common::fail(std::move(delta).error());
    deltas.push_back(std::move(delta).value());
  }
  const schema::source::DerivedScripts scripts = schema::source::derived_scripts(source);
  std::vector<std::string> texts;
  for (auto step = deltas.rbegin(); step != deltas.rend(); ++step) append(texts, step->retired);
  append(texts, scripts.drops);
  for (const schema::source::Delta& delta : deltas) append(texts, delta.up);
  texts.push_back(
      "INSERT INTO \"quorvale_system\" (\"name\", \"value\") VALUES ('db_version', '" +
      std::to_string(source.current_version()) +
      "') ON CONFLICT (\"name\") DO UPDATE SET \"value\" = \"excluded\".\"value\"");
  append(texts, scripts.creates);
  return texts;
}

// The retired texts of the step to `target`, then its up texts.
qv_common::Result<std::vector<std::string>, std::string> delta(const schema::source::SchemaSource& source,
                                                             schema::source::Version target) {
  auto step = source.delta(target);
  if (!step) return qv_common::fail(std::move(step).error());
  std::vector<std::string> texts = std::move(step->retired);
  append(texts, step->up);
  return texts;
}

int usage() {
  std::cerr << "usage: catalog_sql install|drops|creates|v4-install|delta N|migrate FROM\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const schema::current::Source source;
  std::vector<std::string> texts;
  if (args.size() == 2 && (args[0] == "delta" || args[0] == "migrate")) {
    const std::optional<schema::source::Version> version = version_of(args[1]);
    if (!version) return usage();
    auto written = args[0] == "delta" ? delta(source, *version) : migration(source, *version);
    if (!written) {
      std::cerr << written.error() << "\n";
      return 1;
    }
    texts = std::move(written).value();
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

#include "schema/source.h"

#include <cstdio>
#include <cstdlib>
#include <ranges>

#include "schema/render.h"
#include "sqlbuilder/render.h"

namespace schema::source {
namespace {

void append(std::vector<std::string>& scripts, const std::vector<std::string>& texts) {
  scripts.insert(scripts.end(), texts.begin(), texts.end());
}

void append_drops(std::vector<std::string>& scripts, const std::vector<Derived>& objects) {
  for (const Derived& object : std::views::reverse(objects)) append(scripts, object.drop);
}

void append_creates(std::vector<std::string>& scripts, const std::vector<Derived>& objects) {
  for (const Derived& object : objects) append(scripts, object.create);
}

}  // namespace

Derived index_derived(const sqlbuilder::IndexCreate& index) {
  const std::optional<std::string> name = index.index_name();
  if (!name) {
    // An unnamed index could never be dropped again: a defect of the catalog.
    std::fputs("every index is named\n", stderr);
    std::abort();
  }
  sqlbuilder::IndexDrop drop;
  drop.name(*name).if_exists();
  return {{sqlbuilder::to_sql(index)}, {render::render_schema(drop)}};
}

DerivedScripts derived_scripts(const SchemaSource& source) {
  const std::vector<Derived> triggers = source.triggers();
  const std::vector<Derived> views = source.views();
  const std::vector<Derived> indexes = source.indexes();
  const std::vector<Derived> statistics = source.statistics();

  DerivedScripts scripts;
  // Views go first, since they may read every other object.
  for (const auto* objects : {&views, &triggers, &indexes, &statistics}) append_drops(scripts.drops, *objects);
  for (const auto* objects : {&indexes, &statistics, &triggers, &views}) append_creates(scripts.creates, *objects);
  return scripts;
}

std::vector<std::string> install_batch(const SchemaSource& source) {
  std::vector<std::string> batch = source.tables();
  for (const auto& objects : {source.triggers(), source.views(), source.indexes(), source.statistics()}) {
    append_creates(batch, objects);
  }
  append(batch, source.seeds());
  append(batch, source.rls());
  return batch;
}

}  // namespace schema::source

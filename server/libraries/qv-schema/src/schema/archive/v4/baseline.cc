#include "schema/archive/v4/baseline.h"

#include <array>
#include <string_view>
#include <utility>

#include "schema/archive/v4/entities.h"
#include "schema/quorvale_system.h"
#include "schema/render.h"
#include "schema/sql/rls.h"

namespace schema::archive::v4 {
namespace {

// Every project-scoped table of version 4, in the order of row-level
// security; metrics_facts came later.
constexpr std::array<std::string_view, 18> kProjectScopedTables = {
    "groups",
    "connections",
    "collections",
    "bundles",
    "functions",
    "function_patches",
    "tables",
    "dependencies",
    "triggers",
    "executions",
    "transactions",
    "physical_function_runs",
    "physical_table_data_versions",
    "table_partitions",
    "workers",
    "logical_function_runs",
    "logical_table_data_versions",
    "logical_function_run_inputs",
};

void append(std::vector<std::string>& texts, std::vector<std::string> more) {
  for (std::string& text : more) texts.push_back(std::move(text));
}

// For each entity in order: the items of its list `operation`, each turned
// into its texts by `create`.
template <typename Item, typename Create>
void append_walk(std::vector<std::string>& texts, std::vector<Item> (entity::Entity::*operation)() const,
                 Create create) {
  for (const entity::Entity* entity : v4_entities()) {
    for (Item& item : (entity->*operation)()) append(texts, create(std::move(item)));
  }
}

template <typename Def>
std::vector<std::string> derived_create(const Def& def) {
  return def.derived().create;
}

sqlbuilder::Insert db_version_row() {
  sqlbuilder::Insert insert;
  insert.into(QuorvaleSystem::Table)
      .columns({QuorvaleSystem::Name, QuorvaleSystem::Value})
      .values({sqlbuilder::val(std::string("db_version")), sqlbuilder::val(std::string("4"))});
  return insert;
}

}  // namespace

std::vector<std::string> v4_install_texts() {
  std::vector<std::string> texts = {render::render_schema(create_system_table())};
  append_walk(texts, &entity::Entity::create_tables,
              [](const sqlbuilder::TableCreate& table) { return std::vector{render::render_schema(table)}; });
  append_walk(texts, &entity::Entity::create_db_triggers, [](source::Derived trigger) { return trigger.create; });
  append_walk(texts, &entity::Entity::create_views, derived_create<sql::view::ViewDef>);
  append_walk(texts, &entity::Entity::create_indices,
              [](const sqlbuilder::IndexCreate& index) { return source::index_derived(index).create; });
  append_walk(texts, &entity::Entity::create_partial_indices, derived_create<sql::partial_index::PartialIndexDef>);
  append_walk(texts, &entity::Entity::create_statistics, derived_create<sql::statistics::StatisticsDef>);
  append_walk(texts, &entity::Entity::seeds,
              [](sqlbuilder::Insert insert) { return std::vector{render::render_query(std::move(insert))}; });
  for (const std::string_view table : kProjectScopedTables) append(texts, sql::rls::table_rls(table));
  texts.push_back(render::render_query(db_version_row()));
  return texts;
}

}  // namespace schema::archive::v4

#include "schema/current/source.h"

#include <utility>

#include "schema/current/entities.h"
#include "schema/deltas/deltas.h"
#include "schema/render.h"
#include "schema/sql/rls.h"

namespace schema::current {
namespace {

// For each entity in order: its list `operation`, each element mapped by `map`.
template <typename Item, typename Map>
auto walk(std::vector<Item> (entity::Entity::*operation)() const, Map map) {
  std::vector<decltype(map(std::declval<Item>()))> result;
  for (const entity::Entity* entity : current_entities()) {
    for (Item& item : (entity->*operation)()) result.push_back(map(std::move(item)));
  }
  return result;
}

template <typename Def>
source::Derived derived(const Def& def) {
  return def.derived();
}

}  // namespace

std::vector<std::string> Source::tables() const {
  return walk(&entity::Entity::create_tables,
              [](const sqlbuilder::TableCreate& table) { return render::render_schema(table); });
}

std::vector<source::Derived> Source::triggers() const {
  return walk(&entity::Entity::create_db_triggers, [](source::Derived object) { return object; });
}

std::vector<source::Derived> Source::views() const {
  return walk(&entity::Entity::create_views, derived<sql::view::ViewDef>);
}

std::vector<source::Derived> Source::indexes() const {
  // Every plain index of every entity comes before the partial indexes.
  std::vector<source::Derived> indexes = walk(&entity::Entity::create_indices, source::index_derived);
  for (source::Derived& partial :
       walk(&entity::Entity::create_partial_indices, derived<sql::partial_index::PartialIndexDef>)) {
    indexes.push_back(std::move(partial));
  }
  return indexes;
}

std::vector<source::Derived> Source::statistics() const {
  return walk(&entity::Entity::create_statistics, derived<sql::statistics::StatisticsDef>);
}

std::vector<std::string> Source::seeds() const {
  return walk(&entity::Entity::seeds,
              [](sqlbuilder::Insert insert) { return render::render_query(std::move(insert)); });
}

std::vector<std::string> Source::rls() const { return sql::rls::rls(); }

qv_common::Result<source::Delta, std::string> Source::delta(source::Version target) const {
  return deltas::get(target);
}

}  // namespace schema::current

#pragma once
// The SQL texts that one table module contributes, rendered as the schema
// source renders them; for the modules' tests.

#include <string>
#include <utility>
#include <vector>

#include "schema/entity.h"
#include "schema/render.h"

namespace schema::entity_texts {

inline std::vector<std::string> tables(const entity::Entity& entity) {
  std::vector<std::string> texts;
  for (const sqlbuilder::TableCreate& table : entity.create_tables()) texts.push_back(render::render_schema(table));
  return texts;
}

// The create texts of the indexes, in order.
inline std::vector<std::string> indexes(const entity::Entity& entity) {
  std::vector<std::string> texts;
  for (const sqlbuilder::IndexCreate& index : entity.create_indices()) {
    for (std::string& text : source::index_derived(index).create) texts.push_back(std::move(text));
  }
  return texts;
}

// The create texts of the views, in order.
inline std::vector<std::string> views(const entity::Entity& entity) {
  std::vector<std::string> texts;
  for (const sql::view::ViewDef& view : entity.create_views()) {
    for (std::string& text : view.derived().create) texts.push_back(std::move(text));
  }
  return texts;
}

inline std::vector<std::string> seeds(const entity::Entity& entity) {
  std::vector<std::string> texts;
  for (sqlbuilder::Insert& insert : entity.seeds()) texts.push_back(render::render_query(std::move(insert)));
  return texts;
}

}  // namespace schema::entity_texts

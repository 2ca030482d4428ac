#pragma once
// Test support: compares what a table module renders, list by list, with
// the texts a test expects.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "schema/entity.h"
#include "schema/render.h"
#include "schema/source.h"
#include "schema/testing/entity_texts.h"

namespace schema::testing {

struct View {
  std::string name;
  std::string query;  // the SELECT after "AS"
};

struct EntityTexts {
  std::vector<std::string> tables = {};
  std::vector<std::string> indexes = {};
  std::vector<View> views = {};
  std::vector<source::Derived> triggers = {};
};

// The texts of an identifier enumeration's first `count` variants.
template <typename E>
std::vector<std::string> identifier_texts(std::size_t count) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < count; ++i) texts.emplace_back(to_string(static_cast<E>(i)));
  return texts;
}

inline void expect_texts(const entity::Entity& entity, const EntityTexts& expected) {
  EXPECT_EQ(entity_texts::tables(entity), expected.tables);
  EXPECT_EQ(entity_texts::indexes(entity), expected.indexes);

  std::vector<std::string> expected_views;
  for (const View& view : expected.views) {
    expected_views.push_back("CREATE VIEW " + view.name + " WITH (security_invoker = true) AS " + view.query);
  }
  EXPECT_EQ(entity_texts::views(entity), expected_views);

  const std::vector<source::Derived> triggers = entity.create_db_triggers();
  ASSERT_EQ(triggers.size(), expected.triggers.size());
  for (std::size_t i = 0; i < triggers.size(); ++i) {
    EXPECT_EQ(triggers[i].create, expected.triggers[i].create);
    EXPECT_EQ(triggers[i].drop, expected.triggers[i].drop);
  }

  EXPECT_TRUE(entity.create_partial_indices().empty());
  EXPECT_TRUE(entity.create_statistics().empty());
  EXPECT_TRUE(entity.seeds().empty());
}

}  // namespace schema::testing

#pragma once
// One table module of the catalog. Each list operation builds a new list;
// every one defaults to an empty list and a module overrides those it has.

#include <vector>

#include "schema/source.h"
#include "schema/sql/partial_index.h"
#include "schema/sql/statistics.h"
#include "schema/sql/view.h"
#include "sqlbuilder/index.h"
#include "sqlbuilder/insert.h"
#include "sqlbuilder/table.h"

namespace schema::entity {

class Entity {
 public:
  virtual ~Entity() = default;
  virtual std::vector<sqlbuilder::TableCreate> create_tables() const { return {}; }
  virtual std::vector<sqlbuilder::IndexCreate> create_indices() const { return {}; }
  virtual std::vector<sql::partial_index::PartialIndexDef> create_partial_indices() const { return {}; }
  virtual std::vector<sql::statistics::StatisticsDef> create_statistics() const { return {}; }
  virtual std::vector<sql::view::ViewDef> create_views() const { return {}; }
  virtual std::vector<source::Derived> create_db_triggers() const { return {}; }
  virtual std::vector<sqlbuilder::Insert> seeds() const { return {}; }
};

}  // namespace schema::entity

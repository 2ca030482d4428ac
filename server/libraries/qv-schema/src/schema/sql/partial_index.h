#pragma once

#include <string>
#include <vector>

#include "schema/source.h"
#include "sqlbuilder/iden.h"

namespace schema::sql::partial_index {

struct PartialIndexDef {
  std::string name;
  sqlbuilder::Iden table;
  std::vector<sqlbuilder::Iden> columns;
  std::string condition;

  // CREATE INDEX "name" ON "table" ("a", "b") WHERE <condition>, and
  // DROP INDEX IF EXISTS "name".
  source::Derived derived() const;
};

}  // namespace schema::sql::partial_index

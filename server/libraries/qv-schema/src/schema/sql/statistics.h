#pragma once

#include <string>
#include <vector>

#include "schema/source.h"
#include "sqlbuilder/iden.h"

namespace schema::sql::statistics {

struct StatisticsDef {
  std::string name;
  sqlbuilder::Iden table;
  std::vector<sqlbuilder::Iden> columns;

  // CREATE STATISTICS "name" (ndistinct) ON "a", "b" FROM "table", and
  // DROP STATISTICS IF EXISTS "name".
  source::Derived derived() const;
};

}  // namespace schema::sql::statistics

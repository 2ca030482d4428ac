#pragma once

#include "schema/source.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/select.h"

namespace schema::sql::view {

struct ViewDef {
  sqlbuilder::Iden name;
  sqlbuilder::Select query;

  // CREATE VIEW <name> WITH (security_invoker = true) AS <query>, and
  // DROP VIEW IF EXISTS <name>; the name bare, the query with literals.
  source::Derived derived() const;
};

}  // namespace schema::sql::view

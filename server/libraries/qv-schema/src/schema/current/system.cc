#include "schema/current/system.h"

#include <string>

#include "schema/quorvale_system.h"

namespace schema::current::system {

std::vector<sqlbuilder::Insert> Defs::seeds() const {
  using sqlbuilder::val;
  sqlbuilder::Insert insert;
  // The data-format generation, stored as text like every value of the table.
  insert.into(QuorvaleSystem::Table)
      .columns({QuorvaleSystem::Name, QuorvaleSystem::Value})
      .values({val(std::string("quorvale_version")), val(std::string("2"))});
  return {insert};
}

}  // namespace schema::current::system

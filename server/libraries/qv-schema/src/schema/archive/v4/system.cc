#include "schema/archive/v4/system.h"

#include <string>

#include "schema/quorvale_system.h"

namespace schema::archive::v4::system {

std::vector<sqlbuilder::Insert> Defs::seeds() const {
  sqlbuilder::Insert insert;
  insert.into(QuorvaleSystem::Table)
      .columns({QuorvaleSystem::Name, QuorvaleSystem::Value})
      .values({sqlbuilder::val(std::string("quorvale_version")), sqlbuilder::val(std::string("2"))});
  return {insert};
}

}  // namespace schema::archive::v4::system

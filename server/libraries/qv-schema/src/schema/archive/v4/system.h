#pragma once
// The version-4 schema's system module: the seed row of the system table
// (the table itself is created by the database layer).

#include "schema/entity.h"

namespace schema::archive::v4::system {

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::Insert> seeds() const override;
};

}  // namespace schema::archive::v4::system

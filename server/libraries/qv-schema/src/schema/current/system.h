#pragma once
// The system module: the seed row of "quorvale_system". The table itself is
// created by the database layer before it reads the stored version.

#include "schema/entity.h"

namespace schema::current::system {

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::Insert> seeds() const override;
};

}  // namespace schema::current::system

#pragma once
// The version-4 status and time span of executions and transactions, derived
// from their runs by views: "executions__with_status" and
// "transactions__with_status".

#include "schema/entity.h"

namespace schema::archive::v4::with_status_views {

class Defs final : public entity::Entity {
 public:
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::archive::v4::with_status_views

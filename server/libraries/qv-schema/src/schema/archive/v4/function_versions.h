#pragma once
// The version-4 view "function_versions__with_names", frozen: function
// versions and function patches in one shape over the version-4 tables.

#include "schema/entity.h"

namespace schema::archive::v4::function_versions {

class Defs final : public entity::Entity {
 public:
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::archive::v4::function_versions

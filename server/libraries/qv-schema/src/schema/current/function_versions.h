#pragma once
// The view "function_versions__with_names": function versions and function
// patches in one shape, a patch naming the version it patches in "patch_of".

#include "schema/entity.h"

namespace schema::current::function_versions {

class Defs final : public entity::Entity {
 public:
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::current::function_versions

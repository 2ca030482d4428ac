#pragma once
// The version-4 groups: table "groups" keyed by project and id, its indexes
// and the view with the creating and modifying users' names.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::groups {

enum class Groups {
  Table,
  Id,
  ProjectId,
  Name,
  Description,
  CreatedOn,
  CreatedById,
  ModifiedOn,
  ModifiedById,
  System,
};

std::string_view to_string(Groups iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::archive::v4::groups

#pragma once
// The groups of a project, to which collections belong: table "groups", its
// indexes and the view with the creating and modifying users' names.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::groups {

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
  Kind,
};

std::string_view to_string(Groups iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::current::groups

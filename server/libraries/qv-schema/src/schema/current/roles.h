#pragma once
// The roles to which users are bound: table "roles", its indexes, the view
// with the creating and modifying users' names, and the built-in roles.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::roles {

enum class Roles {
  Table,
  Id,
  Name,
  Description,
  CreatedOn,
  CreatedById,
  ModifiedOn,
  ModifiedById,
  Kind,
  ProjectId,
  Fixed,
};

std::string_view to_string(Roles iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<sqlbuilder::Insert> seeds() const override;
};

}  // namespace schema::current::roles

#pragma once
// The version-4 connections: table "connections", keyed by project and id.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::connections {

enum class Connections {
  Table,
  Id,
  ProjectId,
  Kind,
  CreatedOn,
  CreatedById,
  ModifiedOn,
  ModifiedById,
};

std::string_view to_string(Connections iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
};

}  // namespace schema::archive::v4::connections

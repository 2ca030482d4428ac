#pragma once
// The connections of a project that collections may use: table "connections".

#include <string_view>

#include "schema/entity.h"

namespace schema::current::connections {

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

}  // namespace schema::current::connections

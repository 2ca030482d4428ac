#pragma once
// The version-4 code bundles: table "bundles" with plain text ids.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::bundles {

enum class Bundles {
  Table,
  Id,
  ProjectId,
  CollectionId,
  Hash,
  BasePath,
  Status,
  CreatedOn,
  CreatedById,
};

std::string_view to_string(Bundles iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
};

}  // namespace schema::archive::v4::bundles

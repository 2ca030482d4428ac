#pragma once
// The code bundles uploaded into collections: table "bundles".

#include <string_view>

#include "schema/entity.h"

namespace schema::current::bundles {

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

}  // namespace schema::current::bundles

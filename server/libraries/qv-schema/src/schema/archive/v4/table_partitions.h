#pragma once
// The version-4 table partitions, frozen: plain text ids.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::table_partitions {

enum class TablePartitions {
  Table,
  Id,
  ProjectId,
  CollectionId,
  TableId,
  TableVersionId,
  FunctionVersionId,
  TableDataVersionId,
  PartitionKey,
  PartitionDeleted,
};

std::string_view to_string(TablePartitions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
};

}  // namespace schema::archive::v4::table_partitions

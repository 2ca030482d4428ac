#pragma once
// The partitions of table data versions: table "table_partitions", one row
// per partition key of a physical table data version.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::table_partitions {

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

}  // namespace schema::current::table_partitions

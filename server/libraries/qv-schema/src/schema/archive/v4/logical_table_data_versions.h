#pragma once
// The version-4 logical table data versions, frozen: plain text ids, group
// keys within their project, and no time-ordered indexes.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::logical_table_data_versions {

enum class LogicalTableDataVersions {
  Table,
  Id,
  ProjectId,
  CollectionId,
  ExecutionId,
  TransactionId,
  TableId,
  ProducerLogicalFunctionRunId,
  FunctionParamPos,
  Private,
  TriggeredOn,
  TriggeredById,
  GroupId,
};

std::string_view to_string(LogicalTableDataVersions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::archive::v4::logical_table_data_versions

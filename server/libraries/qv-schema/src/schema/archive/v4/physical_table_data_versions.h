#pragma once
// The version-4 physical table data versions, frozen: plain text ids,
// versions starting at "triggered_on", and a plain close trigger (no pending
// versions).

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::physical_table_data_versions {

enum class PhysicalTableDataVersions {
  Table,
  Id,
  ProjectId,
  CollectionId,
  TableId,
  Name,
  TableVersionId,
  FunctionVersionId,
  FunctionVersionPatchId,
  HasData,
  SchemaChanged,
  ColumnCount,
  RowCount,
  DataBytes,
  SchemaHash,
  ColumnarLineage,
  ExecutionId,
  TransactionId,
  PhysicalFunctionRunId,
  FunctionParamPos,
  WithDataTableDataVersionId,
  TriggeredOn,
  BasePath,
  LogicalTableDataVersionId,
  ValidTo,
};

std::string_view to_string(PhysicalTableDataVersions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::archive::v4::physical_table_data_versions

#pragma once
// The physical versions of table data: table "physical_table_data_versions"
// (what one physical run wrote to one table), versioned by "valid_from" /
// "valid_to" per logical table data version, with versions that may be
// inserted pending and settled later; its indexes, two views and the close
// and settle triggers.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::physical_table_data_versions {

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
  ValidFrom,
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

}  // namespace schema::current::physical_table_data_versions

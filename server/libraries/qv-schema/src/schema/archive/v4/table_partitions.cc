#include "schema/archive/v4/table_partitions.h"

#include <array>
#include <cstddef>

#include "schema/archive/v4/physical_table_data_versions.h"

namespace schema::archive::v4::table_partitions {
namespace {

using T = TablePartitions;
using physical_table_data_versions::PhysicalTableDataVersions;
using sqlbuilder::ColumnDef;

constexpr std::array<std::string_view, 10> kNames = {
    "table_partitions",    "id",
    "project_id",          "collection_id",
    "table_id",            "table_version_id",
    "function_version_id", "table_data_version_id",
    "partition_key",       "partition_deleted",
};

}  // namespace

std::string_view to_string(TablePartitions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(T::Table)
      .col(ColumnDef(T::Id).text().not_null().primary_key())
      .col(ColumnDef(T::ProjectId).text().not_null())
      .col(ColumnDef(T::CollectionId).text().not_null())
      .col(ColumnDef(T::TableId).text().not_null())
      .col(ColumnDef(T::TableVersionId).text().not_null())
      .col(ColumnDef(T::FunctionVersionId).text().not_null())
      .col(ColumnDef(T::TableDataVersionId).text().not_null())
      .col(ColumnDef(T::PartitionKey).text().null())
      .col(ColumnDef(T::PartitionDeleted).boolean().null())
      .foreign_key({T::CollectionId}, "collections", {"id"})
      .foreign_key({T::FunctionVersionId}, "functions", {"id"})
      .foreign_key({T::TableDataVersionId}, PhysicalTableDataVersions::Table, {PhysicalTableDataVersions::Id});
  return {table};
}

}  // namespace schema::archive::v4::table_partitions

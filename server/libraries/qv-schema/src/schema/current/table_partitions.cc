#include "schema/current/table_partitions.h"

#include <array>
#include <cstddef>

#include "schema/current/physical_table_data_versions.h"
#include "schema/sql/column.h"

namespace schema::current::table_partitions {
namespace {

using T = TablePartitions;
using physical_table_data_versions::PhysicalTableDataVersions;
using sql::id_column;
using sql::logical_id_column;
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
      .col(id_column(T::Id).not_null().primary_key())
      .col(id_column(T::ProjectId).not_null())
      .col(id_column(T::CollectionId).not_null())
      .col(id_column(T::TableId).not_null())
      .col(id_column(T::TableVersionId).not_null())
      .col(logical_id_column(T::FunctionVersionId).not_null())
      .col(logical_id_column(T::TableDataVersionId).not_null())
      .col(ColumnDef(T::PartitionKey).text().null())
      .col(ColumnDef(T::PartitionDeleted).boolean().null())
      .foreign_key({T::CollectionId}, "collections", {"id"})
      .foreign_key({T::FunctionVersionId}, "functions", {"id"})
      // The data version a partition belongs to is a physical one.
      .foreign_key({T::TableDataVersionId}, PhysicalTableDataVersions::Table, {PhysicalTableDataVersions::Id});
  return {table};
}

}  // namespace schema::current::table_partitions

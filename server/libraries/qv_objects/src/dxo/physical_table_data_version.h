#pragma once

// Data-access records of physical table data versions.

#include <string_view>

namespace dxo::physical_table_data_version {

// The columns written on insert; an insert record is never registered.
struct PhysicalTableDataVersionInsertDBIden {
  static constexpr std::string_view Table = "physical_table_data_versions";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "collection_id",
                                                  "table_id",
                                                  "name",
                                                  "table_version_id",
                                                  "function_version_id",
                                                  "function_version_patch_id",
                                                  "execution_id",
                                                  "transaction_id",
                                                  "physical_function_run_id",
                                                  "logical_table_data_version_id",
                                                  "function_param_pos",
                                                  "base_path",
                                                  "has_data",
                                                  "schema_changed",
                                                  "column_count",
                                                  "row_count",
                                                  "data_bytes",
                                                  "schema_hash",
                                                  "with_data_table_data_version_id"};
};

struct PhysicalTableDataVersionDBIden {
  static constexpr std::string_view Table = "physical_table_data_versions";
  using Base = PhysicalTableDataVersionInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "valid_from", "valid_to"};
};

struct PhysicalTableDataVersionDB {
  using Iden = PhysicalTableDataVersionDBIden;
  static constexpr std::string_view kDisplayName = "Physical Table Data Version";
};

struct PhysicalTableDataVersionDBWithFunctionIden {
  static constexpr std::string_view Table = "physical_table_data_versions__with_function";
  using Base = PhysicalTableDataVersionDBIden;
  static constexpr std::string_view kColumns[] = {"triggered_by_id", "started_on", "ended_on", "status",
                                                  "storage_version"};
};

struct PhysicalTableDataVersionDBWithFunction {
  using Iden = PhysicalTableDataVersionDBWithFunctionIden;
  static constexpr std::string_view kDisplayName = "Physical Table Data Version";
};

struct PhysicalTableDataVersionDBWithNamesIden {
  static constexpr std::string_view Table = "physical_table_data_versions__with_names";
  using Base = PhysicalTableDataVersionDBWithFunctionIden;
  static constexpr std::string_view kColumns[] = {"collection", "function", "created_by"};
};

struct PhysicalTableDataVersionDBWithNames {
  using Iden = PhysicalTableDataVersionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Physical Table Data Version";
};

}  // namespace dxo::physical_table_data_version

#pragma once

// Data-access records of logical function runs, their inputs and logical table data versions.

#include <array>
#include <string_view>

namespace dxo::logical {

// The columns written on insert; an insert record is never registered.
struct LogicalFunctionRunInsertDBIden {
  static constexpr std::string_view Table = "logical_function_runs";
  static constexpr std::string_view kColumns[] = {
      "id",      "collection_id", "execution_id",    "transaction_id", "function_id", "function_version_id",
      "trigger", "triggered_on",  "triggered_by_id", "status",         "group_id"};
};

struct LogicalFunctionRunDBIden {
  static constexpr std::string_view Table = "logical_function_runs";
  using Base = LogicalFunctionRunInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "recoveries"};
};

struct LogicalFunctionRunDB {
  using Iden = LogicalFunctionRunDBIden;
  static constexpr std::string_view kDisplayName = "Logical Function Run";
};

struct FunctionRunDBWithNamesIden {
  static constexpr std::string_view Table = "function_runs__with_names";
  using Base = LogicalFunctionRunDBIden;
  static constexpr std::string_view kColumns[] = {"name",
                                                  "collection",
                                                  "collection_deleted",
                                                  "execution",
                                                  "triggered_by",
                                                  "group",
                                                  "project",
                                                  "physical_function_run_id",
                                                  "started_on",
                                                  "ended_on",
                                                  "physical_status",
                                                  "function_version_patch_id"};
};

struct FunctionRunDBWithNames {
  using Iden = FunctionRunDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Function Run";
};

// The columns written on insert; an insert record is never registered.
struct LogicalTableDataVersionInsertDBIden {
  static constexpr std::string_view Table = "logical_table_data_versions";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "collection_id",
                                                  "execution_id",
                                                  "transaction_id",
                                                  "table_id",
                                                  "producer_logical_function_run_id",
                                                  "function_param_pos",
                                                  "private",
                                                  "triggered_on",
                                                  "triggered_by_id",
                                                  "group_id"};
};

struct LogicalTableDataVersionDBIden {
  static constexpr std::string_view Table = "logical_table_data_versions";
  using Base = LogicalTableDataVersionInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id"};
};

struct LogicalTableDataVersionDB {
  using Iden = LogicalTableDataVersionDBIden;
  static constexpr std::string_view kDisplayName = "Logical Table Data Version";
};

struct ActiveLogicalTableDataVersionDBIden {
  static constexpr std::string_view Table = "logical_table_data_versions__active";
  using Base = LogicalTableDataVersionDBIden;
  static constexpr std::array<std::string_view, 0> kColumns{};
};

struct ActiveLogicalTableDataVersionDB {
  using Iden = ActiveLogicalTableDataVersionDBIden;
  static constexpr std::string_view kDisplayName = "Active Logical Table Data Version";
};

struct TableDataVersionDBWithNamesIden {
  static constexpr std::string_view Table = "table_data_versions__with_names";
  using Base = LogicalTableDataVersionDBIden;
  static constexpr std::string_view kColumns[] = {"collection",
                                                  "execution",
                                                  "triggered_by",
                                                  "group",
                                                  "physical_table_data_version_id",
                                                  "name",
                                                  "table_version_id",
                                                  "function_version_id",
                                                  "function_version_patch_id",
                                                  "has_data",
                                                  "schema_changed",
                                                  "column_count",
                                                  "row_count",
                                                  "data_bytes",
                                                  "schema_hash",
                                                  "with_data_table_data_version_id",
                                                  "physical_function_run_id",
                                                  "started_on",
                                                  "ended_on",
                                                  "status",
                                                  "physical_status",
                                                  "function",
                                                  "storage_version",
                                                  "parent_table_id"};
};

struct TableDataVersionDBWithNames {
  using Iden = TableDataVersionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Table Data Version";
};

// The columns written on insert; an insert record is never registered.
struct LogicalFunctionRunInputInsertDBIden {
  static constexpr std::string_view Table = "logical_function_run_inputs";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "collection_id",
                                                  "execution_id",
                                                  "transaction_id",
                                                  "logical_function_run_id",
                                                  "requirement_logical_table_data_version_id",
                                                  "requirement_input_idx",
                                                  "requirement_dependency_pos",
                                                  "requirement_version_pos",
                                                  "requirement_table_version_id"};
};

struct LogicalFunctionRunInputDBIden {
  static constexpr std::string_view Table = "logical_function_run_inputs";
  using Base = LogicalFunctionRunInputInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id"};
};

struct LogicalFunctionRunInputDB {
  using Iden = LogicalFunctionRunInputDBIden;
  static constexpr std::string_view kDisplayName = "Logical Function Run Input";
};

}  // namespace dxo::logical

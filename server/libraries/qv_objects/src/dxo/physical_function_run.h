#pragma once

// Data-access records of physical function runs.

#include <string_view>

namespace dxo::physical_function_run {

// The columns written on insert; an insert record is never registered.
struct PhysicalFunctionRunInsertDBIden {
  static constexpr std::string_view Table = "physical_function_runs";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "collection_id",
                                                  "function_id",
                                                  "function_version_id",
                                                  "execution_id",
                                                  "transaction_id",
                                                  "logical_function_run_id",
                                                  "triggered_by_id",
                                                  "trigger",
                                                  "base_path",
                                                  "dispatched_on",
                                                  "started_on",
                                                  "ended_on",
                                                  "status",
                                                  "function_version_patch_id"};
};

struct PhysicalFunctionRunDBIden {
  static constexpr std::string_view Table = "physical_function_runs";
  using Base = PhysicalFunctionRunInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "valid_from", "valid_to"};
};

struct PhysicalFunctionRunDB {
  using Iden = PhysicalFunctionRunDBIden;
  static constexpr std::string_view kDisplayName = "Physical Function Run";
};

struct PhysicalFunctionRunDBWithNamesIden {
  static constexpr std::string_view Table = "physical_function_runs__with_names";
  using Base = PhysicalFunctionRunDBIden;
  static constexpr std::string_view kColumns[] = {"name",
                                                  "collection",
                                                  "project",
                                                  "connection",
                                                  "execution",
                                                  "execution_function_version_id",
                                                  "storage_version",
                                                  "triggered_by"};
};

struct PhysicalFunctionRunDBWithNames {
  using Iden = PhysicalFunctionRunDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Physical Function Run";
};

}  // namespace dxo::physical_function_run

#pragma once

// Data-access records of executions.

#include <string_view>

namespace dxo::execution {

// The columns written on insert; an insert record is never registered.
struct ExecutionInsertDBIden {
  static constexpr std::string_view Table = "executions";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "name",
                                                  "collection_id",
                                                  "function_id",
                                                  "function_version_id",
                                                  "triggered_on",
                                                  "triggered_by_id",
                                                  "trigger_type",
                                                  "external_uid",
                                                  "recursion_options"};
};

struct ExecutionDBIden {
  static constexpr std::string_view Table = "executions";
  using Base = ExecutionInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "status", "started_on", "ended_on"};
};

struct ExecutionDB {
  using Iden = ExecutionDBIden;
  static constexpr std::string_view kDisplayName = "Execution";
};

struct ExecutionDBWithNamesIden {
  static constexpr std::string_view Table = "executions__with_names";
  using Base = ExecutionDBIden;
  static constexpr std::string_view kColumns[] = {"collection", "collection_deleted",       "function", "triggered_by",
                                                  "project",    "function_run_status_count"};
};

struct ExecutionDBWithNames {
  using Iden = ExecutionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Execution";
};

}  // namespace dxo::execution

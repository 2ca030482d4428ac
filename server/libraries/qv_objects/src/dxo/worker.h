#pragma once

// Data-access records of workers.

#include <string_view>

namespace dxo::worker {

// The columns written on insert; an insert record is never registered.
struct WorkerInsertDBIden {
  static constexpr std::string_view Table = "workers";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "collection_id",
                                                  "execution_id",
                                                  "transaction_id",
                                                  "physical_function_run_id",
                                                  "function_version_id",
                                                  "started_on",
                                                  "ended_on",
                                                  "status",
                                                  "worker_type",
                                                  "worker_enabled",
                                                  "worker_config"};
};

struct WorkerDBIden {
  static constexpr std::string_view Table = "workers";
  using Base = WorkerInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "failures", "retry_at", "destination_write_on"};
};

struct WorkerDB {
  using Iden = WorkerDBIden;
  static constexpr std::string_view kDisplayName = "Worker";
};

struct WorkerDBWithNamesIden {
  static constexpr std::string_view Table = "workers__with_names";
  using Base = WorkerDBIden;
  static constexpr std::string_view kColumns[] = {"logical_function_run_id",
                                                  "collection",
                                                  "connection_id",
                                                  "connection",
                                                  "execution",
                                                  "function_id",
                                                  "function",
                                                  "enabled",
                                                  "function_version_patch_id",
                                                  "project"};
};

struct WorkerDBWithNames {
  using Iden = WorkerDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Worker";
};

}  // namespace dxo::worker

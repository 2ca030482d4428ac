#pragma once

// Data-access records of function triggers.

#include <string_view>

namespace dxo::trigger {

// The columns written on insert; an insert record is never registered.
struct TriggerInsertDBIden {
  static constexpr std::string_view Table = "triggers";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "collection_id",
                                                  "trigger_id",
                                                  "function_id",
                                                  "trigger_by_collection_id",
                                                  "trigger_by_function_id",
                                                  "trigger_by_table_id",
                                                  "status",
                                                  "defined_by_id",
                                                  "system"};
};

struct TriggerDBIden {
  static constexpr std::string_view Table = "triggers";
  using Base = TriggerInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "valid_from", "valid_to"};
};

struct TriggerDB {
  using Iden = TriggerDBIden;
  static constexpr std::string_view kDisplayName = "Trigger";
};

struct TriggerDBWithNamesIden {
  static constexpr std::string_view Table = "triggers__with_names";
  using Base = TriggerDBIden;
  static constexpr std::string_view kColumns[] = {"collection", "trigger_by_collection"};
};

struct TriggerDBWithNames {
  using Iden = TriggerDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Trigger";
};

}  // namespace dxo::trigger

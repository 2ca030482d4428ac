#pragma once

// Data-access records of function dependencies.

#include <string_view>

namespace dxo::dependency {

// The columns written on insert; an insert record is never registered.
struct DependencyInsertDBIden {
  static constexpr std::string_view Table = "dependencies";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "collection_id",
                                                  "dependency_id",
                                                  "function_id",
                                                  "table_collection_id",
                                                  "table_function_id",
                                                  "table_id",
                                                  "table_versions",
                                                  "dep_pos",
                                                  "defined_by_id",
                                                  "system"};
};

struct DependencyDBIden {
  static constexpr std::string_view Table = "dependencies";
  using Base = DependencyInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "valid_from", "valid_to"};
};

struct DependencyDB {
  using Iden = DependencyDBIden;
  static constexpr std::string_view kDisplayName = "Dependency";
};

struct DependencyDBWithNamesIden {
  static constexpr std::string_view Table = "dependencies__with_names";
  using Base = DependencyDBIden;
  static constexpr std::string_view kColumns[] = {"collection", "table_collection"};
};

struct DependencyDBWithNames {
  using Iden = DependencyDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Dependency";
};

}  // namespace dxo::dependency

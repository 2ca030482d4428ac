#pragma once

// Data-access records of functions, function patches and function versions.

#include <string_view>

namespace dxo::function {

// The columns written on insert; an insert record is never registered.
struct FunctionInsertDBIden {
  static constexpr std::string_view Table = "functions";
  static constexpr std::string_view kColumns[] = {"id",          "parent_function_id", "collection_id",   "name",
                                                  "description", "decorator",          "function_type",   "connector",
                                                  "connection",  "runtime_values",     "function_id",     "base_path",
                                                  "stage_id",    "stage_base_path",    "storage_version", "bundle_id",
                                                  "snippet",     "defined_by_id",      "status",          "enabled"};
};

struct FunctionDBIden {
  static constexpr std::string_view Table = "functions";
  using Base = FunctionInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "valid_from", "valid_to"};
};

struct FunctionDB {
  using Iden = FunctionDBIden;
  static constexpr std::string_view kDisplayName = "Function";
};

// The columns written on insert; an insert record is never registered.
struct FunctionPatchInsertDBIden {
  static constexpr std::string_view Table = "function_patches";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "parent_function_version_id",
                                                  "function_id",
                                                  "collection_id",
                                                  "snippet",
                                                  "bundle_id",
                                                  "runtime_values",
                                                  "description",
                                                  "defined_by_id",
                                                  "status"};
};

struct FunctionPatchDBIden {
  static constexpr std::string_view Table = "function_patches";
  using Base = FunctionPatchInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "valid_from", "valid_to"};
};

struct FunctionPatchDB {
  using Iden = FunctionPatchDBIden;
  static constexpr std::string_view kDisplayName = "Function Patch";
};

struct FunctionPatchDBWithNamesIden {
  static constexpr std::string_view Table = "function_patches__with_names";
  using Base = FunctionPatchDBIden;
  static constexpr std::string_view kColumns[] = {"defined_by"};
};

struct FunctionPatchDBWithNames {
  using Iden = FunctionPatchDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Function Patch";
};

struct FunctionDBWithNamesIden {
  static constexpr std::string_view Table = "functions__with_names";
  using Base = FunctionDBIden;
  static constexpr std::string_view kColumns[] = {"collection", "group_id", "defined_by"};
};

struct FunctionDBWithNames {
  using Iden = FunctionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Function";
};

struct FunctionVersionDBWithNamesIden {
  static constexpr std::string_view Table = "function_versions__with_names";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "collection_id",
                                                  "name",
                                                  "description",
                                                  "decorator",
                                                  "connector",
                                                  "connection",
                                                  "runtime_values",
                                                  "function_id",
                                                  "base_path",
                                                  "stage_id",
                                                  "stage_base_path",
                                                  "storage_version",
                                                  "bundle_id",
                                                  "snippet",
                                                  "valid_from",
                                                  "defined_by_id",
                                                  "status",
                                                  "enabled",
                                                  "function_type",
                                                  "parent_function_id",
                                                  "collection",
                                                  "defined_by",
                                                  "patch_of"};
};

struct FunctionVersionDBWithNames {
  using Iden = FunctionVersionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Function Version";
};

}  // namespace dxo::function

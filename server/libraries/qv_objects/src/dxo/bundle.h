#pragma once

// Data-access records of bundles.

#include <string_view>

namespace dxo::bundle {

// The columns written on insert; an insert record is never registered.
struct BundleInsertDBIden {
  static constexpr std::string_view Table = "bundles";
  static constexpr std::string_view kColumns[] = {"id",     "collection_id", "hash",         "base_path",
                                                  "status", "created_on",    "created_by_id"};
};

struct BundleDBIden {
  static constexpr std::string_view Table = "bundles";
  using Base = BundleInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id"};
};

struct BundleDB {
  using Iden = BundleDBIden;
  static constexpr std::string_view kDisplayName = "Bundle";
};

}  // namespace dxo::bundle

#pragma once

// Data-access records of connections.

#include <string_view>

namespace dxo::connection {

// The columns written on insert; an insert record is never registered.
struct ConnectionInsertDBIden {
  static constexpr std::string_view Table = "connections";
  static constexpr std::string_view kColumns[] = {"id",          "kind",          "created_on", "created_by_id",
                                                  "modified_on", "modified_by_id"};
};

struct ConnectionDBIden {
  static constexpr std::string_view Table = "connections";
  using Base = ConnectionInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id"};
};

struct ConnectionDB {
  using Iden = ConnectionDBIden;
  static constexpr std::string_view kDisplayName = "Connection";
};

}  // namespace dxo::connection

#pragma once

// Data-access records of groups.

#include <string_view>

namespace dxo::group {

// The columns written on insert; an insert record is never registered.
struct GroupInsertDBIden {
  static constexpr std::string_view Table = "groups";
  static constexpr std::string_view kColumns[] = {
      "id", "name", "description", "created_on", "created_by_id", "modified_on", "modified_by_id", "system", "kind"};
};

struct GroupDBIden {
  static constexpr std::string_view Table = "groups";
  using Base = GroupInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id"};
};

struct GroupDB {
  using Iden = GroupDBIden;
  static constexpr std::string_view kDisplayName = "Group";
};

struct GroupDBWithNamesIden {
  static constexpr std::string_view Table = "groups__with_names";
  using Base = GroupDBIden;
  static constexpr std::string_view kColumns[] = {"created_by", "modified_by"};
};

struct GroupDBWithNames {
  using Iden = GroupDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Group";
};

}  // namespace dxo::group

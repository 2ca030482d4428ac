#pragma once

// Data-access records of projects.

#include <string_view>

namespace dxo::project {

struct ActiveProjectDBIden {
  static constexpr std::string_view Table = "projects_active";
  static constexpr std::string_view kColumns[] = {"id",         "name",          "description", "base_path",
                                                  "created_on", "created_by_id", "modified_on", "modified_by_id"};
};

struct ActiveProjectDB {
  using Iden = ActiveProjectDBIden;
  static constexpr std::string_view kDisplayName = "Active Project";
};

struct ProjectDBIden {
  static constexpr std::string_view Table = "projects_resolved";
  using Base = ActiveProjectDBIden;
  static constexpr std::string_view kColumns[] = {"deleted"};
};

struct ProjectDB {
  using Iden = ProjectDBIden;
  static constexpr std::string_view kDisplayName = "Project";
};

struct ActiveProjectDBWithNamesIden {
  static constexpr std::string_view Table = "projects__with_names";
  using Base = ActiveProjectDBIden;
  static constexpr std::string_view kColumns[] = {"created_by", "modified_by"};
};

struct ActiveProjectDBWithNames {
  using Iden = ActiveProjectDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Active Project";
};

}  // namespace dxo::project

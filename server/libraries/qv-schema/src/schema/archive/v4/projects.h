#pragma once
// The version-4 projects: table "projects" with plain text ids and a name
// unique also after deletion, its index, and the stacked views
// "projects_resolved", "projects_active" and "projects__with_names".

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::projects {

enum class Projects {
  Table,
  Id,
  Name,
  Description,
  BasePath,
  CreatedOn,
  CreatedById,
  ModifiedOn,
  ModifiedById,
  NameWhenDeleted,
};

// "projects_resolved" and the column it adds to the table's.
enum class ProjectsResolved { Table, Deleted };

// "projects_active"; its columns are those of the table.
enum class ProjectsActive { Table };

std::string_view to_string(Projects iden);
std::string_view to_string(ProjectsResolved iden);
std::string_view to_string(ProjectsActive iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::archive::v4::projects

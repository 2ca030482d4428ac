#pragma once
// The projects, soft-deleted by moving the name into "name_when_deleted":
// table "projects", its indexes, and the stacked views "projects_resolved"
// (every project, resolved name), "projects_active" (live ones) and
// "projects__with_names".

#include <string_view>

#include "schema/entity.h"

namespace schema::current::projects {

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

}  // namespace schema::current::projects

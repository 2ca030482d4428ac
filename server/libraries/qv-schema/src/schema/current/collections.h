#pragma once
// The collections of a project, soft-deleted like projects: table
// "collections", its indexes, and the stacked views "collections_resolved"
// (every collection, resolved name), "collections_active" (live ones) and
// "collections__with_names".

#include <string_view>

#include "schema/entity.h"

namespace schema::current::collections {

enum class Collections {
  Table,
  Id,
  ProjectId,
  Name,
  Description,
  CreatedOn,
  CreatedById,
  ModifiedOn,
  ModifiedById,
  NameWhenDeleted,
  GroupId,
  BasePath,
  CollectionType,
  ConnectionId,
};

// "collections_resolved" and the columns it adds to the table's.
enum class CollectionsResolved { Table, EffectiveBasePath, Deleted };

// "collections_active"; its columns are those of the table and
// "effective_base_path".
enum class CollectionsActive { Table };

std::string_view to_string(Collections iden);
std::string_view to_string(CollectionsResolved iden);
std::string_view to_string(CollectionsActive iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::current::collections

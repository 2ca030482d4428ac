#pragma once
// The versions of the platform's data tables: table "tables" (one row per
// version, each naming the function version that produces it), its indexes,
// the view with display names and the close trigger.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::tables {

enum class Tables {
  Table,
  Id,
  ProjectId,
  CollectionId,
  TableId,
  Name,
  FunctionId,
  FunctionVersionId,
  FunctionParamPos,
  Private,
  Partitioned,
  ValidFrom,
  DefinedById,
  Status,
  TableType,
  ValidTo,
  ParentTableId,
};

std::string_view to_string(Tables iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::current::tables

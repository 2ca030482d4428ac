#pragma once
// The version-4 tables table, frozen: plain text ids (the function version id
// too), versions starting at "defined_on", no parent table yet.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::tables {

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
  DefinedOn,
  DefinedById,
  Status,
  TableType,
  ValidTo,
};

std::string_view to_string(Tables iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::archive::v4::tables

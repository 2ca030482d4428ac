#include "schema/archive/v4/bundles.h"

#include "schema/archive/v4/collections.h"

namespace schema::archive::v4::bundles {

using collections::Collections;
using sqlbuilder::ColumnDef;
using sqlbuilder::TableCreate;

std::string_view to_string(Bundles iden) {
  switch (iden) {
    case Bundles::Table: return "bundles";
    case Bundles::Id: return "id";
    case Bundles::ProjectId: return "project_id";
    case Bundles::CollectionId: return "collection_id";
    case Bundles::Hash: return "hash";
    case Bundles::BasePath: return "base_path";
    case Bundles::Status: return "status";
    case Bundles::CreatedOn: return "created_on";
    case Bundles::CreatedById: return "created_by_id";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(Bundles::Table)
      .col(ColumnDef(Bundles::Id).text().not_null().primary_key())
      .col(ColumnDef(Bundles::ProjectId).text().not_null())
      .col(ColumnDef(Bundles::CollectionId).text().not_null())
      .col(ColumnDef(Bundles::Hash).text().not_null())
      .col(ColumnDef(Bundles::BasePath).text().not_null())
      .col(ColumnDef(Bundles::Status).text().not_null())
      .col(ColumnDef(Bundles::CreatedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(Bundles::CreatedById).text().not_null())
      .foreign_key({Bundles::CollectionId}, Collections::Table, {Collections::Id});
  return {table};
}

}  // namespace schema::archive::v4::bundles

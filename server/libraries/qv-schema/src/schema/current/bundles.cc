#include "schema/current/bundles.h"

#include "schema/current/collections.h"
#include "schema/sql/column.h"

namespace schema::current::bundles {

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
      .col(sql::id_column(Bundles::Id).not_null().primary_key())
      .col(sql::id_column(Bundles::ProjectId).not_null())
      .col(sql::id_column(Bundles::CollectionId).not_null())
      .col(ColumnDef(Bundles::Hash).text().not_null())
      .col(ColumnDef(Bundles::BasePath).text().not_null())
      .col(ColumnDef(Bundles::Status).text().not_null())
      .col(ColumnDef(Bundles::CreatedOn).timestamp_with_time_zone().not_null())
      .col(sql::id_column(Bundles::CreatedById).not_null())
      .foreign_key({Bundles::CollectionId}, Collections::Table, {Collections::Id});
  return {table};
}

}  // namespace schema::current::bundles

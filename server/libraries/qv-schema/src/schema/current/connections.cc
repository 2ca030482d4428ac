#include "schema/current/connections.h"

#include "schema/sql/column.h"

namespace schema::current::connections {

using sqlbuilder::ColumnDef;
using sqlbuilder::TableCreate;

std::string_view to_string(Connections iden) {
  switch (iden) {
    case Connections::Table: return "connections";
    case Connections::Id: return "id";
    case Connections::ProjectId: return "project_id";
    case Connections::Kind: return "kind";
    case Connections::CreatedOn: return "created_on";
    case Connections::CreatedById: return "created_by_id";
    case Connections::ModifiedOn: return "modified_on";
    case Connections::ModifiedById: return "modified_by_id";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(Connections::Table)
      .col(sql::id_column(Connections::Id).not_null().primary_key())
      .col(sql::id_column(Connections::ProjectId).not_null())
      .col(ColumnDef(Connections::Kind).text().not_null())
      .col(ColumnDef(Connections::CreatedOn).timestamp_with_time_zone().not_null())
      .col(sql::id_column(Connections::CreatedById).not_null())
      .col(ColumnDef(Connections::ModifiedOn).timestamp_with_time_zone().not_null())
      .col(sql::id_column(Connections::ModifiedById).not_null());
  return {table};
}

}  // namespace schema::current::connections

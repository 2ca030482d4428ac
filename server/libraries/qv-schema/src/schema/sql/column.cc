#include "schema/sql/column.h"

#include <utility>

namespace schema::sql {

sqlbuilder::ColumnDef id_column(sqlbuilder::Iden column) {
  sqlbuilder::ColumnDef def(std::move(column));
  // Byte order: ids compare and sort the same on every server locale.
  def.text().extra("COLLATE \"C\"");
  return def;
}

sqlbuilder::ColumnDef logical_id_column(sqlbuilder::Iden column) {
  sqlbuilder::ColumnDef def(std::move(column));
  def.big_integer();
  return def;
}

}  // namespace schema::sql

#include "schema/quorvale_system.h"

#include <array>
#include <cstddef>

#include "sqlbuilder/column.h"

namespace schema {

std::string_view to_string(QuorvaleSystem iden) {
  static constexpr std::array<std::string_view, 3> kTexts = {"quorvale_system", "name", "value"};
  return kTexts.at(static_cast<std::size_t>(iden));
}

sqlbuilder::TableCreate create_system_table() {
  using sqlbuilder::ColumnDef;
  sqlbuilder::TableCreate table;
  table.table(QuorvaleSystem::Table)
      .if_not_exists()
      .col(ColumnDef(QuorvaleSystem::Name).text().not_null().primary_key())
      .col(ColumnDef(QuorvaleSystem::Value).text().null());
  return table;
}

}  // namespace schema

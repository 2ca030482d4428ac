#pragma once

// Data-access records of the tables that functions produce.

#include <string_view>

namespace dxo::table {

// The columns written on insert; an insert record is never registered.
struct TableInsertDBIden {
  static constexpr std::string_view Table = "tables";
  static constexpr std::string_view kColumns[] = {
      "id",      "collection_id", "table_id",      "name",   "function_id", "function_version_id", "function_param_pos",
      "private", "partitioned",   "defined_by_id", "status", "table_type",  "parent_table_id"};
};

struct TableDBIden {
  static constexpr std::string_view Table = "tables";
  using Base = TableInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "valid_from", "valid_to"};
};

struct TableDB {
  using Iden = TableDBIden;
  static constexpr std::string_view kDisplayName = "Table";
};

struct TableDBWithNamesIden {
  static constexpr std::string_view Table = "tables__with_names";
  using Base = TableDBIden;
  static constexpr std::string_view kColumns[] = {"system", "defined_by", "collection", "function"};
};

struct TableDBWithNames {
  using Iden = TableDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Table";
};

}  // namespace dxo::table

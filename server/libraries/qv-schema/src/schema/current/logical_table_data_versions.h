#pragma once
// The logical versions of table data: table "logical_table_data_versions"
// (one version of a table produced in an execution and a transaction,
// normally by a logical function run), its indexes, the view with names and
// the live physical version, and the view of the active versions.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::logical_table_data_versions {

enum class LogicalTableDataVersions {
  Table,
  Id,
  ProjectId,
  CollectionId,
  ExecutionId,
  TransactionId,
  TableId,
  ProducerLogicalFunctionRunId,
  FunctionParamPos,
  Private,
  TriggeredOn,
  TriggeredById,
  GroupId,
};

std::string_view to_string(LogicalTableDataVersions iden);

// An index named `name` on (leading, "triggered_on", "id").
sqlbuilder::IndexCreate time_ordered(std::string_view name, LogicalTableDataVersions leading);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::current::logical_table_data_versions

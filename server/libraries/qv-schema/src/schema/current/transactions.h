#pragma once
// The transactions of an execution, the groups of function runs that commit
// together: table "transactions" (with its rolled-up status and time span),
// its indexes and the view with display names and run status counts.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::transactions {

enum class Transactions {
  Table,
  Id,
  ProjectId,
  CollectionId,
  ExecutionId,
  TransactionBy,
  TransactionKey,
  TriggeredOn,
  TriggeredById,
  GroupId,
  Status,
  StartedOn,
  EndedOn,
};

std::string_view to_string(Transactions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::current::transactions

#pragma once
// The version-4 transactions table, frozen: plain text ids, a composite
// foreign key onto the project-scoped groups, and no status or time span of
// its own (the status views derived them).

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::transactions {

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
};

std::string_view to_string(Transactions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::archive::v4::transactions

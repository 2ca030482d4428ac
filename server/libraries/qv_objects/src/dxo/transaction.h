#pragma once

// Data-access records of transactions.

#include <string_view>

namespace dxo::transaction {

// The columns written on insert; an insert record is never registered.
struct TransactionInsertDBIden {
  static constexpr std::string_view Table = "transactions";
  static constexpr std::string_view kColumns[] = {
      "id",           "collection_id",   "execution_id", "transaction_by", "transaction_key",
      "triggered_on", "triggered_by_id", "group_id"};
};

struct TransactionDBIden {
  static constexpr std::string_view Table = "transactions";
  using Base = TransactionInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id", "status", "started_on", "ended_on"};
};

struct TransactionDB {
  using Iden = TransactionDBIden;
  static constexpr std::string_view kDisplayName = "Transaction";
};

struct TransactionDBWithNamesIden {
  static constexpr std::string_view Table = "transactions__with_names";
  using Base = TransactionDBIden;
  static constexpr std::string_view kColumns[] = {"collection", "execution", "triggered_by",
                                                  "group",      "project",   "function_run_status_count"};
};

struct TransactionDBWithNames {
  using Iden = TransactionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Transaction";
};

}  // namespace dxo::transaction

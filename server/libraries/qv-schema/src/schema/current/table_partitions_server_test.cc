// Table partitions on a real server: optional key and flag, and the keys to
// the physical table data version, the function version and the collection.

#include <gtest/gtest.h>

#include "test_support/run_rows.h"

namespace schema::current::table_partitions {
namespace {

using test_support::RunRowsFixture;

constexpr const char* kPartitions = "table_partitions";

// Physical table data version 700 of logical version 500.
class TablePartitionsServerTest : public RunRowsFixture {
 protected:
  void SetUp() override {
    RunRowsFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    add("logical_function_runs");
    add("physical_function_runs", {{"status", "'D'"}});
    add("logical_table_data_versions");
    add("physical_table_data_versions");
  }
};

TEST_F(TablePartitionsServerTest, KeyAndDeletedFlagMayBeLeftEmpty) {
  ASSERT_EQ(insert(kPartitions), "ok");
  EXPECT_EQ(value("SELECT num_nulls(partition_key, partition_deleted) FROM table_partitions"), "2");
}

TEST_F(TablePartitionsServerTest, BelongsToAPhysicalTableDataVersion) {
  EXPECT_EQ(insert(kPartitions, {{"table_data_version_id", "500"}}),
            "23503 insert or update on table \"table_partitions\" violates foreign key constraint "
            "\"table_partitions_table_data_version_id_fkey\"");
}

TEST_F(TablePartitionsServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by the partition and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("functions", {{"id", "101"}, {"function_id", "'F2'"}, {"name", "'function two'"}});
  add(kPartitions, {{"collection_id", "'C2'"}, {"function_version_id", "101"}});

  expect_restricted("physical_table_data_versions", "700", "709", kPartitions,
                    "table_partitions_table_data_version_id_fkey");
  expect_restricted("collections", "'C2'", "'C9'", kPartitions, "table_partitions_collection_id_fkey");
  expect_restricted("functions", "101", "109", kPartitions, "table_partitions_function_version_id_fkey");
}

}  // namespace
}  // namespace schema::current::table_partitions

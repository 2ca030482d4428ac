// Logical function run inputs on a real server: unsatisfied requirements and
// the RESTRICT keys.

#include <gtest/gtest.h>

#include "test_support/run_rows.h"

namespace schema::current::logical_function_run_inputs {
namespace {

using test_support::RunRowsFixture;

constexpr const char* kInputs = "logical_function_run_inputs";

class LogicalFunctionRunInputsServerTest : public RunRowsFixture {
 protected:
  void SetUp() override {
    RunRowsFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    add("logical_function_runs");
    // Without a producer, so that the inputs alone refer to run 400.
    add("logical_table_data_versions", {{"producer_logical_function_run_id", "NULL"}});
  }
};

TEST_F(LogicalFunctionRunInputsServerTest, RequirementMayBeUnsatisfiedButNeedsItsVersionPosition) {
  EXPECT_EQ(insert(kInputs, {{"requirement_logical_table_data_version_id", "NULL"},
                             {"requirement_input_idx", "NULL"},
                             {"requirement_dependency_pos", "NULL"},
                             {"requirement_table_version_id", "NULL"}}),
            "ok");
  EXPECT_EQ(insert(kInputs, {{"id", "'I2'"}, {"requirement_version_pos", "NULL"}}),
            "23502 null value in column \"requirement_version_pos\" of relation \"logical_function_run_inputs\" "
            "violates not-null constraint");
}

TEST_F(LogicalFunctionRunInputsServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by one input and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("executions", {{"id", "201"}});
  add("transactions", {{"id", "301"}});
  add(kInputs, {{"collection_id", "'C2'"}, {"execution_id", "201"}, {"transaction_id", "301"}});

  expect_restricted("logical_function_runs", "400", "409", kInputs,
                    "logical_function_run_inputs_logical_function_run_id_fkey");
  // PostgreSQL cuts a generated constraint name to 63 characters.
  expect_restricted("logical_table_data_versions", "500", "509", kInputs,
                    "logical_function_run_inputs_requirement_logical_table_data_fkey");
  expect_restricted("collections", "'C2'", "'C9'", kInputs, "logical_function_run_inputs_collection_id_fkey");
  expect_restricted("executions", "201", "209", kInputs, "logical_function_run_inputs_execution_id_fkey");
  expect_restricted("transactions", "301", "309", kInputs, "logical_function_run_inputs_transaction_id_fkey");
}

}  // namespace
}  // namespace schema::current::logical_function_run_inputs

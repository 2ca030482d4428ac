#include "schema/current/logical_function_run_inputs.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::logical_function_run_inputs {
namespace {

using Texts = std::vector<std::string>;

TEST(LogicalFunctionRunInputs, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "logical_function_run_inputs" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", )sql"
      R"sql("project_id" text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", "execution_id" )sql"
      R"sql(bigint NOT NULL, "transaction_id" bigint NOT NULL, "logical_function_run_id" bigint NOT NULL, )sql"
      R"sql("requirement_logical_table_data_version_id" bigint NULL, "requirement_input_idx" integer NULL, )sql"
      R"sql("requirement_dependency_pos" integer NULL, "requirement_version_pos" integer NOT NULL, )sql"
      R"sql("requirement_table_version_id" text NULL COLLATE "C", FOREIGN KEY ("collection_id") REFERENCES )sql"
      R"sql("collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("execution_id") REFERENCES )sql"
      R"sql("executions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("transaction_id") )sql"
      R"sql(REFERENCES "transactions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("logical_function_run_id") REFERENCES "logical_function_runs" ("id") ON DELETE RESTRICT ON UPDATE )sql"
      R"sql(RESTRICT, FOREIGN KEY ("requirement_logical_table_data_version_id") REFERENCES )sql"
      R"sql("logical_table_data_versions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

// The third index takes the short prefix "lfri".
TEST(LogicalFunctionRunInputs, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "logical_function_run_inputs___logical_function_run_id___idx" ON )sql"
      R"sql("logical_function_run_inputs" ("logical_function_run_id"))sql",
      R"sql(CREATE INDEX "logical_function_run_inputs___execution_id___idx" ON "logical_function_run_inputs" )sql"
      R"sql(("execution_id"))sql",
      R"sql(CREATE INDEX "lfri___requirement_logical_table_data_version_id___idx" ON )sql"
      R"sql("logical_function_run_inputs" ("requirement_logical_table_data_version_id"))sql",
  }));
}

}  // namespace
}  // namespace schema::current::logical_function_run_inputs

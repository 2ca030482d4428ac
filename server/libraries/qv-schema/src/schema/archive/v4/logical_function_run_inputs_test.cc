#include "schema/archive/v4/logical_function_run_inputs.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::logical_function_run_inputs {
namespace {

using Texts = std::vector<std::string>;

TEST(V4LogicalFunctionRunInputs, TableWithPlainTextIds) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "logical_function_run_inputs" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT )sql"
      R"sql(NULL, "collection_id" text NOT NULL, "execution_id" text NOT NULL, "transaction_id" text NOT NULL, )sql"
      R"sql("logical_function_run_id" text NOT NULL, "requirement_logical_table_data_version_id" text NULL, )sql"
      R"sql("requirement_input_idx" integer NULL, "requirement_dependency_pos" integer NULL, )sql"
      R"sql("requirement_version_pos" integer NOT NULL, FOREIGN KEY ("collection_id") REFERENCES "collections" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("execution_id") REFERENCES "executions" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("transaction_id") REFERENCES )sql"
      R"sql("transactions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("logical_function_run_id") REFERENCES "logical_function_runs" ("id") ON DELETE RESTRICT ON UPDATE )sql"
      R"sql(RESTRICT, FOREIGN KEY ("requirement_logical_table_data_version_id") REFERENCES )sql"
      R"sql("logical_table_data_versions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

TEST(V4LogicalFunctionRunInputs, Indexes) {
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
}  // namespace schema::archive::v4::logical_function_run_inputs

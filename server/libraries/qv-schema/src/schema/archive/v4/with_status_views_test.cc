#include "schema/archive/v4/with_status_views.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::with_status_views {
namespace {

using Texts = std::vector<std::string>;

TEST(V4WithStatusViews, ExecutionsThenTransactions) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW executions__with_status WITH (security_invoker = true) AS SELECT )sql"
      R"sql("executions__with_names".*, "pfr_agg"."started_on" AS "started_on", CASE WHEN )sql"
      R"sql("execution_status_summary"."finished" THEN "pfr_agg"."ended_on" END AS "ended_on", )sql"
      R"sql("execution_status_summary"."status" AS "status", )sql"
      R"sql("execution_status_summary"."function_run_status_count" AS "function_run_status_count" FROM )sql"
      R"sql("executions__with_names" LEFT JOIN (SELECT "physical_function_runs"."execution_id", )sql"
      R"sql(min("physical_function_runs"."started_on") AS "started_on", )sql"
      R"sql(max("physical_function_runs"."ended_on") AS "ended_on" FROM "physical_function_runs" GROUP BY )sql"
      R"sql("physical_function_runs"."execution_id") AS "pfr_agg" ON "pfr_agg"."execution_id" = )sql"
      R"sql("executions__with_names"."id" LEFT JOIN "execution_status_summary" ON )sql"
      R"sql("execution_status_summary"."execution_id" = "executions__with_names"."id")sql",
      R"sql(CREATE VIEW transactions__with_status WITH (security_invoker = true) AS SELECT )sql"
      R"sql("transactions__with_names".*, "pfr_agg"."started_on" AS "started_on", CASE WHEN )sql"
      R"sql("transaction_status_summary"."finished" THEN "pfr_agg"."ended_on" END AS "ended_on", )sql"
      R"sql("transaction_status_summary"."status" AS "status", )sql"
      R"sql("transaction_status_summary"."function_run_status_count" AS "function_run_status_count" FROM )sql"
      R"sql("transactions__with_names" LEFT JOIN (SELECT "physical_function_runs"."transaction_id", )sql"
      R"sql(min("physical_function_runs"."started_on") AS "started_on", )sql"
      R"sql(max("physical_function_runs"."ended_on") AS "ended_on" FROM "physical_function_runs" GROUP BY )sql"
      R"sql("physical_function_runs"."transaction_id") AS "pfr_agg" ON "pfr_agg"."transaction_id" = )sql"
      R"sql("transactions__with_names"."id" LEFT JOIN "transaction_status_summary" ON )sql"
      R"sql("transaction_status_summary"."transaction_id" = "transactions__with_names"."id")sql",
  }));
}

}  // namespace
}  // namespace schema::archive::v4::with_status_views

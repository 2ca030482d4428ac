#include "schema/archive/rollup.h"

#include <gtest/gtest.h>

#include "schema/render.h"

namespace schema::archive::rollup {
namespace {

using sql::rollup::All;
using sql::rollup::AllAndAny;

TEST(ArchiveRollup, CountsEveryRowOfAParentAmongItsLogicalRuns) {
  const RollupDef def{"executions",
                      "id",
                      "status",
                      "started_on",
                      "ended_on",
                      "logical_function_runs",
                      "execution_id",
                      "status",
                      "physical_function_runs",
                      "execution_id",
                      "started_on",
                      "ended_on",
                      std::nullopt,
                      {All{{"S"}, "S"}, AllAndAny{{"C", "F"}, {"F"}, "L"}},
                      "U",
                      {"C", "X", "Y"}};
  EXPECT_EQ(
      render::render_query(rollup::backfill(def)),
      R"sql(UPDATE "executions" AS "target" SET "status" = "summary"."status", "started_on" = )sql"
      R"sql("summary"."started_on", "ended_on" = CASE WHEN "summary"."finished" THEN "summary"."ended_on" END )sql"
      R"sql(FROM (SELECT "parents"."id" AS "id", CASE WHEN count(*) FILTER (WHERE "logical_runs"."status" IN )sql"
      R"sql(('S')) = count(*) THEN 'S' WHEN count(*) FILTER (WHERE "logical_runs"."status" IN ('C', 'F')) = )sql"
      R"sql(count(*) AND count(*) FILTER (WHERE "logical_runs"."status" IN ('F')) > 0 THEN 'L' ELSE 'U' END AS )sql"
      R"sql("status", count(*) FILTER (WHERE "logical_runs"."status" IN ('C', 'X', 'Y')) = count(*) AS )sql"
      R"sql("finished", min("instants"."started_on") AS "started_on", max("instants"."ended_on") AS "ended_on" )sql"
      R"sql(FROM "executions" AS "parents" LEFT JOIN "logical_function_runs" AS "logical_runs" ON )sql"
      R"sql("logical_runs"."execution_id" = "parents"."id" LEFT JOIN (SELECT "physical_runs"."execution_id" AS )sql"
      R"sql("parent_id", min("physical_runs"."started_on") AS "started_on", max("physical_runs"."ended_on") AS )sql"
      R"sql("ended_on" FROM "physical_function_runs" AS "physical_runs" GROUP BY )sql"
      R"sql("physical_runs"."execution_id") AS "instants" ON "instants"."parent_id" = "parents"."id" GROUP BY )sql"
      R"sql("parents"."id") AS "summary" WHERE "target"."id" = "summary"."id" AND ("target"."status" IS DISTINCT )sql"
      R"sql(FROM "summary"."status" OR "target"."started_on" IS DISTINCT FROM "summary"."started_on" OR )sql"
      R"sql("target"."ended_on" IS DISTINCT FROM CASE WHEN "summary"."finished" THEN "summary"."ended_on" END))sql");
}

}  // namespace
}  // namespace schema::archive::rollup

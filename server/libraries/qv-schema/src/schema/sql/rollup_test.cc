#include "schema/sql/rollup.h"

#include <gtest/gtest.h>

#include "schema/deltas/v12_to_v13.h"
#include "schema/render.h"
#include "sqlbuilder/render.h"

namespace schema::sql::rollup {
namespace {

RollupDef parents_of_children(std::vector<Arm> ladder) {
  return {"parents_table",  "id",        "status",     "started_on",      "ended_on",
          "children_table", "parent_id", "state",      "attempts",        "parent_id",
          "started_on",     "ended_on",  std::nullopt, std::move(ladder), "Z",
          {"C", "X"}};
}

TEST(Rollup, Counts) {
  const RollupDef def = parents_of_children({All{{"S"}, "S"}});
  EXPECT_EQ(sqlbuilder::to_sql(count_in(def, {"S", "RR"})),
            R"sql(count(*) FILTER (WHERE "children"."state" IN ('S', 'RR')))sql");
  EXPECT_EQ(sqlbuilder::to_sql(count_all(def)), R"sql(count("children"."state"))sql");
}

TEST(Rollup, TransactionsOfTheStepToThirteen) {
  EXPECT_EQ(
      render::render_query(backfill(deltas::v12_to_v13::transactions_rollup())),
      R"sql(UPDATE "transactions" AS "target" SET "status" = "summary"."status", "started_on" = )sql"
      R"sql("summary"."started_on", "ended_on" = CASE WHEN "summary"."finished" THEN "summary"."ended_on" END )sql"
      R"sql(FROM (SELECT "parents"."id" AS "id", CASE WHEN count(*) FILTER (WHERE "children"."status" IN ('S')) )sql"
      R"sql(= count("children"."status") THEN 'S' WHEN count(*) FILTER (WHERE "children"."status" IN ('S', 'RR', )sql"
      R"sql('RS', 'R', 'E')) > 0 THEN 'R' WHEN count(*) FILTER (WHERE "children"."status" IN ('F', 'H')) > 0 )sql"
      R"sql(THEN 'L' WHEN count(*) FILTER (WHERE "children"."status" IN ('Y')) > 0 THEN 'Y' WHEN count(*) )sql"
      R"sql(FILTER (WHERE "children"."status" IN ('D')) > 0 THEN 'R' WHEN count(*) FILTER (WHERE )sql"
      R"sql("children"."status" IN ('C')) = count("children"."status") THEN 'C' ELSE 'X' END AS "status", )sql"
      R"sql(count(*) FILTER (WHERE "children"."status" IN ('C', 'X', 'Y')) = count(*) AS "finished", )sql"
      R"sql(min("instants"."started_on") AS "started_on", max("instants"."ended_on") AS "ended_on" FROM )sql"
      R"sql("transactions" AS "parents" LEFT JOIN "logical_function_runs" AS "children" ON )sql"
      R"sql("children"."transaction_id" = "parents"."id" LEFT JOIN (SELECT "physical_runs"."transaction_id" AS )sql"
      R"sql("parent_id", min("physical_runs"."started_on") AS "started_on", max("physical_runs"."ended_on") AS )sql"
      R"sql("ended_on" FROM "physical_function_runs" AS "physical_runs" GROUP BY )sql"
      R"sql("physical_runs"."transaction_id") AS "instants" ON "instants"."parent_id" = "parents"."id" GROUP BY )sql"
      R"sql("parents"."id") AS "summary" WHERE "target"."id" = "summary"."id" AND ("target"."status" IS DISTINCT )sql"
      R"sql(FROM "summary"."status" OR "target"."started_on" IS DISTINCT FROM "summary"."started_on" OR )sql"
      R"sql("target"."ended_on" IS DISTINCT FROM CASE WHEN "summary"."finished" THEN "summary"."ended_on" END))sql");
}

TEST(Rollup, AllAndAnyArm) {
  const std::string text = render::render_query(backfill(parents_of_children({AllAndAny{{"D", "F"}, {"F"}, "L"}})));
  EXPECT_NE(text.find(R"sql(CASE WHEN count(*) FILTER (WHERE "children"."state" IN ('D', 'F')) = )sql"
                      R"sql(count("children"."state") AND count(*) FILTER (WHERE "children"."state" IN ('F')) > 0 )sql"
                      R"sql(THEN 'L' ELSE 'Z' END)sql"),
            std::string::npos)
      << text;
}

TEST(Rollup, InstantsOfTheChildrenReadNoAttempts) {
  RollupDef def = parents_of_children({All{{"S"}, "S"}});
  def.child_instants = Instants{"begun", "done"};
  const std::string text = render::render_query(backfill(def));
  EXPECT_EQ(text.find("physical_runs"), std::string::npos) << text;
  EXPECT_EQ(text.find("\"attempts\""), std::string::npos) << text;
  EXPECT_NE(text.find(R"sql(min("children"."begun") AS "started_on", max("children"."done") AS "ended_on")sql"),
            std::string::npos)
      << text;
}

TEST(RollupDeathTest, LadderWithoutArms) {
  EXPECT_DEATH(backfill(parents_of_children({})), "a ladder has at least one arm");
}

}  // namespace
}  // namespace schema::sql::rollup

#include <gtest/gtest.h>

#include "schema/render.h"
#include "schema/sql/rollup.h"
#include "test_support/session_fixture.h"

namespace schema::sql::rollup {
namespace {

// Parents with children and attempts; a parent's status is read as
// "status|started|ended", the instants as hours of one day.
class RollupOnServer : public ::test_support::SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run("CREATE TABLE parents (id bigint PRIMARY KEY, status text NOT NULL DEFAULT '?', "
        "started_on timestamptz, ended_on timestamptz)");
    run("CREATE TABLE children (id bigint PRIMARY KEY, parent_id bigint NOT NULL, state text NOT NULL, "
        "begun timestamptz, done timestamptz)");
    run("CREATE TABLE attempts (parent_id bigint NOT NULL, started_on timestamptz, ended_on timestamptz)");
  }

  static RollupDef def(std::vector<Arm> ladder) {
    return {"parents", "id", "status", "started_on", "ended_on", "children", "parent_id", "state", "attempts",
            "parent_id", "started_on", "ended_on", std::nullopt, std::move(ladder), "Z", {"C", "X"}};
  }

  // The count of rows the backfill changed.
  std::uint64_t backfill_rows(const RollupDef& rollup) {
    auto done = session().execute(render::render_query(backfill(rollup)));
    EXPECT_TRUE(done) << connection::describe(done.error());
    return done ? done->rows_affected() : 0;
  }

  std::string parent(int id) {
    return value("SELECT status || '|' || coalesce(extract(hour FROM started_on AT TIME ZONE 'UTC')::text, '-') "
                 "|| '|' || coalesce(extract(hour FROM ended_on AT TIME ZONE 'UTC')::text, '-') FROM parents "
                 "WHERE id = " + std::to_string(id));
  }
};

const std::vector<Arm> kLadder = {All{{"S"}, "S"}, Any{{"R"}, "R"}, All{{"C", "X"}, "F"}};

TEST_F(RollupOnServer, ParentWithoutChildrenTakesTheFirstAllArmAndNoEnd) {
  run("INSERT INTO parents (id) VALUES (1)");
  run("INSERT INTO attempts VALUES (1, '2024-05-06 08:00Z', '2024-05-06 09:00Z')");
  EXPECT_EQ(backfill_rows(def(kLadder)), 1u);
  // No child is finished-counted, the empty row of the outer join is: unfinished.
  EXPECT_EQ(parent(1), "S|8|-");
}

TEST_F(RollupOnServer, FinishedParentsGetTheLastEndOfTheirAttempts) {
  run("INSERT INTO parents (id) VALUES (1), (2), (3)");
  run("INSERT INTO children VALUES (1, 1, 'C', NULL, NULL), (2, 1, 'X', NULL, NULL), "
      "(3, 2, 'C', NULL, NULL), (4, 2, 'R', NULL, NULL), (5, 3, 'C', NULL, NULL), (6, 3, 'Q', NULL, NULL)");
  run("INSERT INTO attempts VALUES (1, '2024-05-06 08:00Z', '2024-05-06 09:00Z'), "
      "(1, '2024-05-06 10:00Z', '2024-05-06 11:00Z'), (2, '2024-05-06 07:00Z', NULL)");
  EXPECT_EQ(backfill_rows(def(kLadder)), 3u);
  EXPECT_EQ(parent(1), "F|8|11");
  EXPECT_EQ(parent(2), "R|7|-");
  // No arm matches: the default status.
  EXPECT_EQ(parent(3), "Z|-|-");
}

TEST_F(RollupOnServer, FirstMatchingArmWins) {
  run("INSERT INTO parents (id) VALUES (1)");
  run("INSERT INTO children VALUES (1, 1, 'R', NULL, NULL), (2, 1, 'C', NULL, NULL)");
  EXPECT_EQ(backfill_rows(def({Any{{"R"}, "R"}, Any{{"C"}, "F"}, All{{"R", "C"}, "A"}})), 1u);
  EXPECT_EQ(parent(1), "R|-|-");
}

TEST_F(RollupOnServer, EveryAndSomeArm) {
  run("INSERT INTO parents (id) VALUES (1), (2)");
  run("INSERT INTO children VALUES (1, 1, 'D', NULL, NULL), (2, 1, 'F', NULL, NULL), (3, 2, 'D', NULL, NULL)");
  EXPECT_EQ(backfill_rows(def({AllAndAny{{"D", "F"}, {"F"}, "L"}})), 2u);
  EXPECT_EQ(parent(1), "L|-|-");
  EXPECT_EQ(parent(2), "Z|-|-");
}

TEST_F(RollupOnServer, UnchangedParentsAreNotWritten) {
  run("INSERT INTO parents (id) VALUES (1), (2)");
  run("INSERT INTO children VALUES (1, 1, 'S', NULL, NULL), (2, 2, 'C', NULL, NULL)");
  run("INSERT INTO attempts VALUES (2, '2024-05-06 08:00Z', '2024-05-06 09:00Z')");
  EXPECT_EQ(backfill_rows(def(kLadder)), 2u);
  EXPECT_EQ(backfill_rows(def(kLadder)), 0u);
  run("UPDATE children SET state = 'R' WHERE id = 1");
  EXPECT_EQ(backfill_rows(def(kLadder)), 1u);
  EXPECT_EQ(parent(1), "R|-|-");
  EXPECT_EQ(parent(2), "F|8|9");
}

TEST_F(RollupOnServer, InstantsOfTheChildren) {
  run("INSERT INTO parents (id) VALUES (1)");
  run("INSERT INTO children VALUES (1, 1, 'C', '2024-05-06 05:00Z', '2024-05-06 06:00Z'), "
      "(2, 1, 'X', '2024-05-06 04:00Z', '2024-05-06 12:00Z')");
  run("INSERT INTO attempts VALUES (1, '2024-05-06 01:00Z', '2024-05-06 23:00Z')");
  RollupDef rollup = def(kLadder);
  rollup.child_instants = Instants{"begun", "done"};
  EXPECT_EQ(backfill_rows(rollup), 1u);
  EXPECT_EQ(parent(1), "F|4|12");
}

}  // namespace
}  // namespace schema::sql::rollup

// The trigger kinds on a real server: how they chain versions, settle pending
// rows, refuse changes, and that their drops run twice.

#include <gtest/gtest.h>

#include "schema/sql/trigger.h"
#include "test_support/session_fixture.h"

namespace schema::sql::trigger {
namespace {

class TriggerServerTest : public test_support::SessionFixture {
 protected:
  void create_versions_table() {
    run("CREATE TABLE versions (id bigint PRIMARY KEY, key text NOT NULL, valid_from date NOT NULL, "
        "valid_to date NOT NULL DEFAULT 'infinity')");
  }

  std::vector<std::string> chain() { return rows("SELECT id, valid_from, valid_to FROM versions ORDER BY key, id"); }
};

const Scd2TriggerDef kClose{close_trigger_name("versions"), "versions", "key", "valid_from", "valid_to", "id"};

TEST_F(TriggerServerTest, CloseTriggerChainsVersionsInsertedInAnyOrder) {
  create_versions_table();
  run(kClose.derived().create);
  run("INSERT INTO versions (id, key, valid_from) VALUES (1, 'a', '2024-01-03')");
  run("INSERT INTO versions (id, key, valid_from) VALUES (2, 'a', '2024-01-01')");
  run("INSERT INTO versions (id, key, valid_from) VALUES (3, 'a', '2024-01-02')");
  run("INSERT INTO versions (id, key, valid_from) VALUES (4, 'b', '2024-01-02')");
  // Equal starts are ordered by id: 6 is inserted first but comes after 5.
  run("INSERT INTO versions (id, key, valid_from) VALUES (6, 'c', '2024-01-01')");
  run("INSERT INTO versions (id, key, valid_from) VALUES (5, 'c', '2024-01-01')");
  EXPECT_EQ(chain(), (std::vector<std::string>{
                         "1|2024-01-03|infinity",
                         "2|2024-01-01|2024-01-02",
                         "3|2024-01-02|2024-01-03",
                         "4|2024-01-02|infinity",
                         "5|2024-01-01|2024-01-01",
                         "6|2024-01-01|infinity",
                     }));
}

TEST_F(TriggerServerTest, PendingRowsAreSkippedUntilTheySettle) {
  create_versions_table();
  const Scd2PendingTriggerDef pending{kClose};
  run(pending.derived().create);
  run("INSERT INTO versions (id, key, valid_from) VALUES (1, 'a', '2024-01-01')");
  // Pending: its interval is empty, it closes nothing and is no next version.
  run("INSERT INTO versions (id, key, valid_from, valid_to) VALUES (2, 'a', '2024-01-03', '2024-01-03')");
  EXPECT_EQ(chain(), (std::vector<std::string>{"1|2024-01-01|infinity", "2|2024-01-03|2024-01-03"}));
  run("INSERT INTO versions (id, key, valid_from) VALUES (3, 'a', '2024-01-02')");
  EXPECT_EQ(chain(),
            (std::vector<std::string>{"1|2024-01-01|2024-01-02", "2|2024-01-03|2024-01-03", "3|2024-01-02|infinity"}));
  // Settling moves its start forward and chains it like a new version.
  run("UPDATE versions SET valid_from = '2024-01-04' WHERE id = 2");
  EXPECT_EQ(chain(),
            (std::vector<std::string>{"1|2024-01-01|2024-01-02", "2|2024-01-04|infinity", "3|2024-01-02|2024-01-04"}));
  // A settled row moved again is not settled a second time.
  run("UPDATE versions SET valid_from = '2024-01-05' WHERE id = 2");
  EXPECT_EQ(chain(),
            (std::vector<std::string>{"1|2024-01-01|2024-01-02", "2|2024-01-05|infinity", "3|2024-01-02|2024-01-04"}));
}

TEST_F(TriggerServerTest, ImmutableColumnsRefuseUpdatesOfListedColumnsAndDeletes) {
  run("CREATE TABLE facts (id int PRIMARY KEY, a text, b text, c text)");
  run(ImmutableColumnsTriggerDef{immutable_trigger_name("facts"), {"a", "b"}, "facts"}.derived().create);
  run("INSERT INTO facts VALUES (1, 'a', 'b', 'c')");
  const struct {
    std::string_view sql;
    std::string_view outcome;
  } cases[] = {
      {"UPDATE facts SET a = 'x' WHERE id = 1", "facts is insert-only"},
      {"UPDATE facts SET b = 'x', c = 'y' WHERE id = 1", "facts is insert-only"},
      {"DELETE FROM facts WHERE id = 1", "facts is insert-only"},
      {"UPDATE facts SET c = 'x' WHERE id = 1", "ok"},
      {"UPDATE facts SET id = 2 WHERE id = 1", "ok"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(outcome(c.sql), c.outcome);
  }
  EXPECT_EQ(rows("SELECT * FROM facts"), std::vector<std::string>{"2|a|b|x"});
}

TEST_F(TriggerServerTest, PlainTransitionsAllowExactlyTheirList) {
  run("CREATE TABLE runs (id int PRIMARY KEY, status text NOT NULL, note text)");
  run(TransitionsTriggerDef{transitions_trigger_name("runs"), "runs", "status",
                                std::vector<Transition>{{"P", "R"}, {"R", "D"}, {"R", "F"}}}
              .derived()
              .create);
  const struct {
    std::string_view from;
    std::string_view to;
    bool allowed;
  } cases[] = {
      {"P", "R", true},  {"R", "D", true},  {"R", "F", true},  {"P", "P", true},
      {"P", "D", false}, {"D", "R", false}, {"R", "P", false}, {"F", "D", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " -> " + std::string(c.to));
    run("DELETE FROM runs");
    run("INSERT INTO runs VALUES (1, '" + std::string(c.from) + "', NULL)");
    const std::string expected =
        c.allowed ? "ok" : "runs.status cannot move from " + std::string(c.from) + " to " + std::string(c.to);
    EXPECT_EQ(outcome("UPDATE runs SET status = '" + std::string(c.to) + "' WHERE id = 1"), expected);
  }
  // Other columns change freely, whatever the status.
  EXPECT_EQ(outcome("UPDATE runs SET note = 'x'"), "ok");
}

TEST_F(TriggerServerTest, KeyedTransitionsFollowTheOldKey) {
  run("CREATE TABLE runs (id int PRIMARY KEY, kind text NOT NULL, status text NOT NULL)");
  run(TransitionsTriggerDef{transitions_trigger_name("runs"), "runs", "status",
                                KeyedTransitions{"kind", {{"a", {{"P", "R"}}}, {"b", {{"P", "D"}}}}}}
              .derived()
              .create);
  const struct {
    std::string_view update;
    std::string_view outcome;
  } cases[] = {
      {"UPDATE runs SET status = 'R' WHERE kind = 'a'", "ok"},
      {"UPDATE runs SET status = 'D' WHERE kind = 'a'", "runs.status cannot move from P to D"},
      {"UPDATE runs SET status = 'D' WHERE kind = 'b'", "ok"},
      {"UPDATE runs SET status = 'R' WHERE kind = 'b'", "runs.status cannot move from P to R"},
      // The row's old kind decides, not the new one.
      {"UPDATE runs SET kind = 'a', status = 'R' WHERE kind = 'b'", "runs.status cannot move from P to R"},
      {"UPDATE runs SET kind = 'b', status = 'R' WHERE kind = 'a'", "ok"},
      {"UPDATE runs SET kind = 'c'", "ok"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.update);
    run("DELETE FROM runs");
    run("INSERT INTO runs VALUES (1, 'a', 'P'), (2, 'b', 'P')");
    EXPECT_EQ(outcome(c.update), c.outcome);
  }
}

TEST_F(TriggerServerTest, DropsRunTwiceAndLeaveNothing) {
  create_versions_table();
  run("ALTER TABLE versions ADD COLUMN status text");
  const source::Derived objects[] = {
      kClose.derived(),
      Scd2PendingTriggerDef{{"versions__pending", "versions", "key", "valid_from", "valid_to", "id"}}.derived(),
      ImmutableColumnsTriggerDef{immutable_trigger_name("versions"), {"key"}, "versions"}.derived(),
      TransitionsTriggerDef{transitions_trigger_name("versions"), "versions", "status",
                            std::vector<Transition>{{"P", "R"}}}
          .derived(),
  };
  for (const source::Derived& object : objects) {
    SCOPED_TRACE(object.create.front());
    run(object.create);
    run(object.drop);
    run(object.drop);
  }
  EXPECT_EQ(rows("SELECT count(*) FROM pg_trigger WHERE NOT tgisinternal"), std::vector<std::string>{"0"});
  EXPECT_EQ(rows("SELECT count(*) FROM pg_proc WHERE proname LIKE 'versions%'"), std::vector<std::string>{"0"});
}

}  // namespace
}  // namespace schema::sql::trigger

#include "schema/sql/trigger.h"

#include <gtest/gtest.h>

namespace schema::sql::trigger {
namespace {

using Texts = std::vector<std::string>;

const Scd2TriggerDef kClose{"functions__scd2_close", "functions", "function_id", "valid_from", "valid_to", "id"};

TEST(Scd2TriggerDef, Derived) {
  const source::Derived derived = kClose.derived();
  EXPECT_EQ(derived.create, (Texts{
                                R"sql(CREATE OR REPLACE FUNCTION functions__scd2_close_fn() RETURNS TRIGGER AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('functions:' || NEW.function_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM functions
  WHERE function_id = NEW.function_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id);
  UPDATE functions SET valid_to = NEW.valid_from
  WHERE function_id = NEW.function_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$ LANGUAGE plpgsql)sql",
                                "CREATE TRIGGER functions__scd2_close BEFORE INSERT ON functions\n"
                                "FOR EACH ROW EXECUTE FUNCTION functions__scd2_close_fn()",
                            }));
  // The trigger goes before its function.
  EXPECT_EQ(derived.drop, (Texts{"DROP TRIGGER IF EXISTS functions__scd2_close ON functions",
                                 "DROP FUNCTION IF EXISTS functions__scd2_close_fn()"}));
}

TEST(Scd2TriggerDef, RenderFunctionPlacesTheExtraConditionBeforeTheSemicolon) {
  EXPECT_NE(kClose.render_function("").find("(NEW.valid_from, NEW.id);\n  UPDATE"), std::string::npos);
  EXPECT_NE(kClose.render_function(" AND x").find("(NEW.valid_from, NEW.id) AND x;\n  UPDATE"), std::string::npos);
}

TEST(Scd2PendingTriggerDef, Derived) {
  const Scd2PendingTriggerDef pending{{"workers__scd2_close", "workers", "worker_id", "valid_from", "valid_to", "id"}};
  EXPECT_EQ(pending.settle_name(), "workers__scd2_settle");
  const source::Derived derived = pending.derived();
  EXPECT_EQ(derived.create, (Texts{
                                R"sql(CREATE OR REPLACE FUNCTION workers__scd2_close_fn() RETURNS TRIGGER AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('workers:' || NEW.worker_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM workers
  WHERE worker_id = NEW.worker_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id)
    AND valid_to > valid_from;
  UPDATE workers SET valid_to = NEW.valid_from
  WHERE worker_id = NEW.worker_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$ LANGUAGE plpgsql)sql",
                                "CREATE TRIGGER workers__scd2_close BEFORE INSERT ON workers\n"
                                "FOR EACH ROW WHEN (NEW.valid_to IS DISTINCT FROM NEW.valid_from) "
                                "EXECUTE FUNCTION workers__scd2_close_fn()",
                                "CREATE TRIGGER workers__scd2_settle BEFORE UPDATE OF valid_from ON workers\n"
                                "FOR EACH ROW WHEN (OLD.valid_to = OLD.valid_from AND NEW.valid_from > OLD.valid_from) "
                                "EXECUTE FUNCTION workers__scd2_close_fn()",
                            }));
  EXPECT_EQ(derived.drop, (Texts{"DROP TRIGGER IF EXISTS workers__scd2_close ON workers",
                                 "DROP TRIGGER IF EXISTS workers__scd2_settle ON workers",
                                 "DROP FUNCTION IF EXISTS workers__scd2_close_fn()"}));
}

TEST(ImmutableColumnsTriggerDef, Derived) {
  const ImmutableColumnsTriggerDef immutable{"tables__immutable", {"a", "b"}, "tables"};
  const source::Derived derived = immutable.derived();
  EXPECT_EQ(derived.create, (Texts{
                                "CREATE OR REPLACE FUNCTION tables__immutable_fn() RETURNS TRIGGER AS $$\n"
                                "BEGIN\n"
                                "  RAISE EXCEPTION 'tables is insert-only';\n"
                                "END;\n"
                                "$$ LANGUAGE plpgsql",
                                "CREATE TRIGGER tables__immutable_no_update BEFORE UPDATE OF a, b ON tables\n"
                                "FOR EACH ROW EXECUTE FUNCTION tables__immutable_fn()",
                                "CREATE TRIGGER tables__immutable_no_delete BEFORE DELETE ON tables\n"
                                "FOR EACH ROW EXECUTE FUNCTION tables__immutable_fn()",
                            }));
  EXPECT_EQ(derived.drop, (Texts{"DROP TRIGGER IF EXISTS tables__immutable_no_update ON tables",
                                 "DROP TRIGGER IF EXISTS tables__immutable_no_delete ON tables",
                                 "DROP FUNCTION IF EXISTS tables__immutable_fn()"}));
}

constexpr std::string_view kTransitionsTrigger =
    "CREATE TRIGGER runs__transitions BEFORE UPDATE OF status ON runs\n"
    "FOR EACH ROW EXECUTE FUNCTION runs__transitions_fn()";

TEST(TransitionsTriggerDef, PlainListComparesOldAndNew) {
  const TransitionsTriggerDef transitions{"runs__transitions", "runs", "status",
                                          std::vector<Transition>{{"P", "R"}, {"R", "D"}}};
  const source::Derived derived = transitions.derived();
  EXPECT_EQ(derived.create,
            (Texts{"CREATE OR REPLACE FUNCTION runs__transitions_fn() RETURNS TRIGGER AS $$\n"
                   "BEGIN\n"
                   "  IF NEW.status IS DISTINCT FROM OLD.status AND (OLD.status, NEW.status) NOT IN "
                   "(VALUES ('P', 'R'), ('R', 'D')) THEN\n"
                   "    RAISE EXCEPTION 'runs.status cannot move from % to %', OLD.status, NEW.status;\n"
                   "  END IF;\n"
                   "  RETURN NEW;\n"
                   "END;\n"
                   "$$ LANGUAGE plpgsql",
                   std::string(kTransitionsTrigger)}));
  EXPECT_EQ(derived.drop, (Texts{"DROP TRIGGER IF EXISTS runs__transitions ON runs",
                                 "DROP FUNCTION IF EXISTS runs__transitions_fn()"}));
}

TEST(TransitionsTriggerDef, KeyedListComparesTheOldKeyToo) {
  const TransitionsTriggerDef transitions{
      "runs__transitions", "runs", "status",
      KeyedTransitions{"kind", {{"a", {{"P", "R"}, {"R", "D"}}}, {"b", {{"P", "D"}}}}}};
  const source::Derived derived = transitions.derived();
  EXPECT_EQ(derived.create,
            (Texts{"CREATE OR REPLACE FUNCTION runs__transitions_fn() RETURNS TRIGGER AS $$\n"
                   "BEGIN\n"
                   "  IF NEW.status IS DISTINCT FROM OLD.status AND (OLD.kind, OLD.status, NEW.status) NOT IN "
                   "(VALUES ('a', 'P', 'R'), ('a', 'R', 'D'), ('b', 'P', 'D')) THEN\n"
                   "    RAISE EXCEPTION 'runs.status cannot move from % to %', OLD.status, NEW.status;\n"
                   "  END IF;\n"
                   "  RETURN NEW;\n"
                   "END;\n"
                   "$$ LANGUAGE plpgsql",
                   std::string(kTransitionsTrigger)}));
}

TEST(TriggerNames, MadeFromTheTableName) {
  EXPECT_EQ(close_trigger_name("functions"), "functions__scd2_close");
  EXPECT_EQ(immutable_trigger_name("tables"), "tables__immutable");
  EXPECT_EQ(transitions_trigger_name("workers"), "workers__transitions");
}

}  // namespace
}  // namespace schema::sql::trigger

// Table DDL on the server: what each column clause, key and alteration
// means in the catalog, and what the keys refuse.

#include <gtest/gtest.h>

#include "sqlbuilder/insert.h"
#include "sqlbuilder/render.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/table.h"
#include "test_support/statement_fixture.h"

namespace sqlbuilder {
namespace {

using test_support::Rows;

class TableOnServer : public test_support::StatementFixture {
 protected:
  // Name, type, nullable, default and collation of each column in order.
  Rows columns(std::string_view table) {
    return rows(
        "SELECT column_name, data_type, is_nullable, column_default, collation_name FROM information_schema.columns "
        "WHERE table_schema = 'scratch' AND table_name = $1 ORDER BY ordinal_position",
        {std::string(table)});
  }

  // The kind and definition of each constraint, in order of kind and name.
  Rows constraints(std::string_view table) {
    return rows(
        "SELECT contype, pg_get_constraintdef(oid) FROM pg_constraint "
        "WHERE conrelid = (SELECT oid FROM pg_class WHERE relname = $1 AND relnamespace = 'scratch'::regnamespace) "
        "ORDER BY contype, conname",
        {std::string(table)});
  }

  void expect_sqlstates(const std::vector<std::pair<const char*, const char*>>& probes) {
    for (const auto& [sql, state] : probes) {
      SCOPED_TRACE(sql);
      EXPECT_EQ(sqlstate(sql), state);
    }
  }
};

TableCreate parents() {
  TableCreate create;
  create.table("parents").col(ColumnDef("id").text().not_null().primary_key());
  return create;
}

TEST_F(TableOnServer, CreateWritesEveryColumnClause) {
  TableCreate create;
  create.table("things")
      .if_not_exists()
      .col(ColumnDef("id").text().not_null().primary_key().extra(R"(COLLATE "C")"))
      .col(ColumnDef("n").integer().not_null().default_value(val(7)).unique_key().check(col("n").ge(val(0))))
      .col(ColumnDef("big").big_integer().null())
      .col(ColumnDef("flag").boolean().default_value(val(false)))
      .col(ColumnDef("at").timestamp_with_time_zone().default_value(custom("CURRENT_TIMESTAMP")))
      .col(ColumnDef("doc").custom_type("jsonb").default_value(custom("'{}'::jsonb")))
      .col(ColumnDef("label").text().default_value(val("it's")));
  EXPECT_EQ(rows(to_sql(create)), Rows{});
  connection().clear_notices();
  EXPECT_EQ(rows(to_sql(create)), Rows{});
  ASSERT_EQ(connection().notices().size(), 1u);
  EXPECT_EQ(connection().notices()[0].sqlstate, "42P07");  // exists, skipping

  EXPECT_EQ(columns("things"), (Rows{
                                   {"id", "text", "NO", "NULL", "C"},
                                   {"n", "integer", "NO", "7", "NULL"},
                                   {"big", "bigint", "YES", "NULL", "NULL"},
                                   {"flag", "boolean", "YES", "false", "NULL"},
                                   {"at", "timestamp with time zone", "YES", "CURRENT_TIMESTAMP", "NULL"},
                                   {"doc", "jsonb", "YES", "'{}'::jsonb", "NULL"},
                                   {"label", "text", "YES", "'it''s'::text", "NULL"},
                               }));
  EXPECT_EQ(constraints("things"), (Rows{
                                       {"c", "CHECK ((n >= 0))"},
                                       {"p", "PRIMARY KEY (id)"},
                                       {"u", "UNIQUE (n)"},
                                   }));
  EXPECT_EQ(rows("INSERT INTO things (id) VALUES ('a') RETURNING n, big, flag, at IS NOT NULL, doc, label"),
            (Rows{{"7", "NULL", "f", "t", "{}", "it's"}}));
  expect_sqlstates({
      {"INSERT INTO things (id, n) VALUES ('b', -1)", "23514"},
      {"INSERT INTO things (id, n) VALUES ('b', 7)", "23505"},
      {"INSERT INTO things (id, n) VALUES ('a', 8)", "23505"},
      {"INSERT INTO things (id, n) VALUES (NULL, 8)", "23502"},
      {"INSERT INTO things (id, n) VALUES ('B', 8)", ""},
  });
  // COLLATE "C" orders by bytes: upper case first.
  EXPECT_EQ(rows("SELECT id FROM things ORDER BY id"), (Rows{{"B"}, {"a"}}));
}

TEST_F(TableOnServer, CreateWithoutIfNotExistsRefusesAnExistingTable) {
  EXPECT_EQ(sqlstate(to_sql(parents())), "");
  EXPECT_EQ(sqlstate(to_sql(parents())), "42P07");
}

TEST_F(TableOnServer, IdentifiersAreQuoted) {
  const Iden table(R"(odd"table)");
  TableCreate create;
  create.table(table).col(ColumnDef("Mixed Case").text().primary_key()).col(ColumnDef("select").integer());
  EXPECT_EQ(rows(to_sql(create)), Rows{});
  EXPECT_EQ(columns(table.text()),
            (Rows{{"Mixed Case", "text", "NO", "NULL", "NULL"}, {"select", "integer", "YES", "NULL", "NULL"}}));

  Insert insert;
  insert.into(table).columns({"Mixed Case", "select"}).values({val("a"), val(1)});
  EXPECT_EQ(in_both_modes(insert, R"(SELECT * FROM "odd""table")"), (Rows{{"a", "1"}}));
  script(R"(INSERT INTO "odd""table" VALUES ('b', 2))");
  Select select;
  select.expr(col("o", "select")).from_as(table, "o").and_where(col("o", "Mixed Case").eq(val("b")));
  EXPECT_EQ(in_both_modes(select), (Rows{{"2"}}));
}

TEST_F(TableOnServer, TableKeyAndForeignKeysRestrict) {
  TableCreate pairs;
  pairs.table("pairs").col(ColumnDef("x").text()).col(ColumnDef("y").integer()).primary_key({"x", "y"});
  TableCreate children;
  children.table("children")
      .col(ColumnDef("parent_id").text().not_null())
      .col(ColumnDef("slot").integer().not_null().check(col("slot").in({val(1), val(2)})))
      .col(ColumnDef("a").text().null())
      .col(ColumnDef("b").integer().null())
      .primary_key({"parent_id", "slot"})
      .foreign_key({"parent_id"}, "parents", {"id"})
      .foreign_key({"a", "b"}, "pairs", {"x", "y"});
  for (const auto& create : {parents(), pairs, children}) EXPECT_EQ(rows(to_sql(create)), Rows{});

  EXPECT_EQ(constraints("children"),
            (Rows{
                {"c", "CHECK ((slot = ANY (ARRAY[1, 2])))"},
                {"f", "FOREIGN KEY (a, b) REFERENCES pairs(x, y) ON UPDATE RESTRICT ON DELETE RESTRICT"},
                {"f", "FOREIGN KEY (parent_id) REFERENCES parents(id) ON UPDATE RESTRICT ON DELETE RESTRICT"},
                {"p", "PRIMARY KEY (parent_id, slot)"},
            }));
  EXPECT_EQ(constraints("pairs"), (Rows{{"p", "PRIMARY KEY (x, y)"}}));
  // A table-level key makes its columns NOT NULL.
  EXPECT_EQ(columns("pairs"), (Rows{{"x", "text", "NO", "NULL", "NULL"}, {"y", "integer", "NO", "NULL", "NULL"}}));

  script(
      "INSERT INTO parents VALUES ('p1'), ('p2'); INSERT INTO pairs VALUES ('x', 1), ('x', 2); "
      "INSERT INTO children VALUES ('p1', 1, 'x', 1)");
  expect_sqlstates({
      {"DELETE FROM parents WHERE id = 'p1'", "23503"},
      {"UPDATE parents SET id = 'p9' WHERE id = 'p1'", "23503"},
      {"DELETE FROM pairs WHERE y = 1", "23503"},
      // NO ACTION would allow this, as the key exists again at the end of
      // the statement; RESTRICT refuses at once.
      {"WITH d AS (DELETE FROM parents WHERE id = 'p1' RETURNING id) INSERT INTO parents SELECT id FROM d", "23503"},
      {"INSERT INTO children VALUES ('p3', 1, NULL, NULL)", "23503"},
      {"INSERT INTO children VALUES ('p2', 1, 'x', 3)", "23503"},
      {"INSERT INTO children VALUES ('p1', 1, NULL, NULL)", "23505"},
      {"INSERT INTO children VALUES ('p2', 3, NULL, NULL)", "23514"},
      {"INSERT INTO children VALUES ('p2', 2, 'y', NULL)", ""},  // MATCH SIMPLE: a NULL column skips the key
      {"DELETE FROM pairs WHERE y = 2", ""},
      {"DELETE FROM children", ""},
      {"DELETE FROM parents WHERE id = 'p1'", ""},
  });
}

TEST_F(TableOnServer, AlterAppliesEveryClauseOfOneStatement) {
  TableCreate workers;
  workers.table("workers")
      .col(ColumnDef("id").text().not_null().primary_key())
      .col(ColumnDef("message_status").text())
      .col(ColumnDef("kind").integer().null())
      .col(ColumnDef("note").text().not_null().default_value(val("n")));
  EXPECT_EQ(rows(to_sql(parents())), Rows{});
  EXPECT_EQ(rows(to_sql(workers)), Rows{});
  script("INSERT INTO parents VALUES ('p1'); INSERT INTO workers VALUES ('w1', 'old', 5, 'kept')");

  TableAlter alter;
  alter.table("workers")
      .add_column(ColumnDef("failures").integer().not_null().default_value(val(0)))
      .add_column(ColumnDef("owner").text().null().extra(R"(COLLATE "C")"))
      .modify_column(ColumnDef("kind").big_integer().not_null().default_value(val(1)))
      .modify_column(ColumnDef("note").text().null().default_value(val("x")))
      .drop_column("message_status")
      .add_foreign_key({"owner"}, "parents", {"id"});
  EXPECT_EQ(rows(to_sql(alter)), Rows{});
  EXPECT_EQ(columns("workers"), (Rows{
                                    {"id", "text", "NO", "NULL", "NULL"},
                                    {"kind", "bigint", "NO", "1", "NULL"},
                                    {"note", "text", "YES", "'x'::text", "NULL"},
                                    {"failures", "integer", "NO", "0", "NULL"},
                                    {"owner", "text", "YES", "NULL", "C"},
                                }));
  EXPECT_EQ(rows("SELECT * FROM workers"), (Rows{{"w1", "5", "kept", "0", "NULL"}}));
  EXPECT_EQ(sqlstate("INSERT INTO workers (id, kind) VALUES ('w2', NULL)"), "23502");
  EXPECT_EQ(sqlstate("UPDATE workers SET owner = 'p1'"), "");
  EXPECT_EQ(sqlstate("DELETE FROM parents"), "23503");

  TableAlter undo;
  undo.table("workers").drop_constraint("workers_owner_fkey").drop_column("failures");
  EXPECT_EQ(rows(to_sql(undo)), Rows{});
  EXPECT_EQ(constraints("workers"), (Rows{{"p", "PRIMARY KEY (id)"}}));
  EXPECT_EQ(sqlstate("DELETE FROM parents"), "");
  EXPECT_EQ(rows("SELECT * FROM workers"), (Rows{{"w1", "5", "kept", "p1"}}));
}

}  // namespace
}  // namespace sqlbuilder

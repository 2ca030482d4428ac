#include "sqlbuilder/table.h"

#include <gtest/gtest.h>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/render.h"

namespace sqlbuilder {
namespace {

TEST(TableCreate, SystemTable) {
  TableCreate create;
  create.table("quorvale_system")
      .if_not_exists()
      .col(ColumnDef("name").text().not_null().primary_key())
      .col(ColumnDef("value").text().null());
  EXPECT_EQ(to_sql(create),
            R"(CREATE TABLE IF NOT EXISTS "quorvale_system" ( "name" text NOT NULL PRIMARY KEY, "value" text NULL ))");
  EXPECT_EQ(create.table_name(), "quorvale_system");
  EXPECT_EQ(create.column_names(), (std::vector<std::string>{"name", "value"}));
}

// Column clauses come out in one order whatever order they were set in.
TEST(TableCreate, ColumnClauseOrder) {
  const char* id = R"(CREATE TABLE "t" ( "id" text NOT NULL PRIMARY KEY COLLATE "C" ))";
  const char* full = R"(CREATE TABLE "t" ( "n" integer NOT NULL DEFAULT 0 UNIQUE PRIMARY KEY CHECK ("n" >= 0) X ))";
  struct {
    ColumnDef column;
    const char* expect;
  } cases[] = {
      {std::move(ColumnDef("id").text().not_null().primary_key().extra("COLLATE \"C\"")), id},
      {std::move(ColumnDef("id").extra("COLLATE \"C\"").primary_key().not_null().text()), id},
      {std::move(ColumnDef("id").primary_key().extra("COLLATE \"C\"").text().not_null()), id},
      {std::move(ColumnDef("n")
                     .integer()
                     .not_null()
                     .default_value(val(0))
                     .unique_key()
                     .primary_key()
                     .check(col("n").ge(val(0)))
                     .extra("X")),
       full},
      {std::move(ColumnDef("n")
                     .extra("X")
                     .check(col("n").ge(val(0)))
                     .primary_key()
                     .unique_key()
                     .default_value(val(0))
                     .not_null()
                     .integer()),
       full},
      {std::move(ColumnDef("n").integer().null().not_null()), R"(CREATE TABLE "t" ( "n" integer NOT NULL ))"},
      {std::move(ColumnDef("n").integer()), R"(CREATE TABLE "t" ( "n" integer ))"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(TableCreate().table("t").col(test_case.column)), test_case.expect);
  }
}

TEST(TableCreate, TypesAndDefaults) {
  struct {
    ColumnDef column;
    const char* expect;
  } cases[] = {
      {std::move(ColumnDef("c").text()), R"("c" text)"},
      {std::move(ColumnDef("c").integer()), R"("c" integer)"},
      {std::move(ColumnDef("c").big_integer()), R"("c" bigint)"},
      {std::move(ColumnDef("c").boolean().default_value(val(false))), R"("c" boolean DEFAULT false)"},
      {std::move(ColumnDef("c").timestamp_with_time_zone().default_value(custom("CURRENT_TIMESTAMP"))),
       R"("c" timestamp with time zone DEFAULT CURRENT_TIMESTAMP)"},
      {std::move(ColumnDef("c").custom_type("jsonb").default_value(custom("'{}'::jsonb"))),
       R"("c" jsonb DEFAULT '{}'::jsonb)"},
      {std::move(ColumnDef("c").text().default_value(val("it's"))), R"("c" text DEFAULT 'it''s')"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(TableCreate().table("t").col(test_case.column)),
              std::string(R"(CREATE TABLE "t" ( )") + test_case.expect + " )");
  }
}

TEST(TableCreate, TableKeyAndForeignKeysFollowTheColumns) {
  TableCreate create;
  create.table("service_tokens")
      .foreign_key({"user_id"}, "users", {"id"})
      .col(ColumnDef("id").text().not_null())
      .primary_key({"id", "slot"})
      .col(ColumnDef("user_id").text().not_null())
      .col(ColumnDef("slot").integer().not_null().check(col("slot").in({val(1), val(2)})))
      .foreign_key({"a", "b"}, "pairs", {"x", "y"});
  EXPECT_EQ(to_sql(create),
            R"(CREATE TABLE "service_tokens" ( "id" text NOT NULL, "user_id" text NOT NULL, )"
            R"("slot" integer NOT NULL CHECK ("slot" IN (1, 2)), PRIMARY KEY ("id", "slot"), )"
            R"(FOREIGN KEY ("user_id") REFERENCES "users" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )"
            R"(FOREIGN KEY ("a", "b") REFERENCES "pairs" ("x", "y") ON DELETE RESTRICT ON UPDATE RESTRICT ))");
  EXPECT_EQ(create.column_names(), (std::vector<std::string>{"id", "user_id", "slot"}));
}

TEST(TableCreate, Defects) {
  EXPECT_EQ(TableCreate().table_name(), "");
  EXPECT_THROW(to_sql(TableCreate().col(ColumnDef("a").text())), BuildError);
  try {
    to_sql(TableCreate().table("t").col(ColumnDef("a").not_null()));
    ADD_FAILURE() << "no error";
  } catch (const BuildError& e) {
    EXPECT_STREQ(e.what(), "Column \"a\" has no type");
  }
}

TEST(TableAlter, Clauses) {
  struct {
    TableAlter alter;
    const char* expect;
  } cases[] = {
      {std::move(TableAlter()
                     .table("workers")
                     .add_column(ColumnDef("failures").integer().not_null().default_value(val(0)))
                     .add_column(ColumnDef("retry_at").timestamp_with_time_zone().null())
                     .add_column(ColumnDef("destination_write_on").timestamp_with_time_zone().null())
                     .drop_column("message_status")),
       R"(ALTER TABLE "workers" ADD COLUMN "failures" integer NOT NULL DEFAULT 0, )"
       R"(ADD COLUMN "retry_at" timestamp with time zone NULL, )"
       R"(ADD COLUMN "destination_write_on" timestamp with time zone NULL, DROP COLUMN "message_status")"},
      {std::move(TableAlter()
                     .table("functions")
                     .add_column(ColumnDef("parent_function_id").text().null().extra("COLLATE \"C\""))),
       R"(ALTER TABLE "functions" ADD COLUMN "parent_function_id" text NULL COLLATE "C")"},
      {std::move(TableAlter().table("groups").modify_column(ColumnDef("kind").text().not_null())),
       R"(ALTER TABLE "groups" ALTER COLUMN "kind" TYPE text, ALTER COLUMN "kind" SET NOT NULL)"},
      {std::move(TableAlter().table("t").modify_column(ColumnDef("c").big_integer())),
       R"(ALTER TABLE "t" ALTER COLUMN "c" TYPE bigint)"},
      {std::move(TableAlter().table("t").modify_column(ColumnDef("c").text().null().default_value(val("x")))),
       R"(ALTER TABLE "t" ALTER COLUMN "c" TYPE text, ALTER COLUMN "c" DROP NOT NULL, ALTER COLUMN "c" SET DEFAULT 'x')"},
      {std::move(TableAlter().table("collections").drop_constraint("collections_project_id_group_id_fkey")),
       R"(ALTER TABLE "collections" DROP CONSTRAINT "collections_project_id_group_id_fkey")"},
      {std::move(TableAlter().table("users_roles").add_foreign_key({"user_id"}, "users", {"id"})),
       R"(ALTER TABLE "users_roles" ADD FOREIGN KEY ("user_id") REFERENCES "users" ("id") )"
       R"(ON DELETE RESTRICT ON UPDATE RESTRICT)"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.alter), test_case.expect);
  }
}

TEST(TableAlter, DefectsAreBuildErrors) {
  struct {
    TableAlter alter;
    const char* message;
  } cases[] = {
      {std::move(TableAlter().table("t")), "No alter option found"},
      {std::move(TableAlter().drop_column("c")), "Table alter has no table"},
      {std::move(TableAlter().table("t").modify_column(ColumnDef("c").not_null())), "Modify column \"c\" has no type"},
      {std::move(TableAlter().table("t").modify_column(ColumnDef("c").text().unique_key())),
       "Modify column changes only type, nullability and default"},
      {std::move(TableAlter().table("t").add_column(ColumnDef("c"))), "Column \"c\" has no type"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.message);
    try {
      to_sql(test_case.alter);
      ADD_FAILURE() << "no error";
    } catch (const BuildError& e) {
      EXPECT_STREQ(e.what(), test_case.message);
    }
  }
}

}  // namespace
}  // namespace sqlbuilder

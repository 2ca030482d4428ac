#include "connection/connection.h"

#include <gtest/gtest.h>

#include <limits>

#include "test_support/database_fixture.h"

namespace connection {
namespace {

using test_support::query_value;

class Execute : public test_support::DatabaseFixture {
 protected:
  void SetUp() override {
    DatabaseFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    auto opened = connect(conninfo());
    ASSERT_TRUE(opened) << describe(opened.error());
    connection_.emplace(std::move(opened).value());
  }

  Connection& connection() { return *connection_; }

 private:
  std::optional<Connection> connection_;
};

TEST_F(Execute, ParametersKeepTheirTypes) {
  struct {
    Param param;
    std::optional<std::string> text;
    Oid type;
    std::string type_name;
  } cases[] = {
      {std::string("it's \"quoted\", ünïcode; DROP TABLE x --"), "it's \"quoted\", ünïcode; DROP TABLE x --",
       type_oid::kText, "text"},
      {std::string(), "", type_oid::kText, "text"},
      {std::numeric_limits<std::int32_t>::min(), "-2147483648", type_oid::kInt4, "integer"},
      {std::int32_t{42}, "42", type_oid::kInt4, "integer"},
      {std::numeric_limits<std::int64_t>::max(), "9223372036854775807", type_oid::kInt8, "bigint"},
      {true, "t", type_oid::kBool, "boolean"},
      {false, "f", type_oid::kBool, "boolean"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type_name + " " + c.text.value_or("NULL"));
    auto result = connection().execute("SELECT $1, pg_typeof($1)::text", {c.param});
    ASSERT_TRUE(result) << describe(result.error());
    ASSERT_EQ(result->row_count(), 1);
    EXPECT_EQ(result->value(0, 0), c.text);
    EXPECT_EQ(result->column_type(0), c.type);
    EXPECT_EQ(result->value(0, 1), c.type_name);
  }
}

TEST_F(Execute, ANullTakesTheTypeItsPlaceAsksFor) {
  ASSERT_TRUE(connection().execute("CREATE TABLE nullable (number int8, flag bool)"));
  auto inserted = connection().execute("INSERT INTO nullable VALUES ($1, $2)", {Null{}, Null{}});
  ASSERT_TRUE(inserted) << describe(inserted.error());
  EXPECT_EQ(query_value(connection(), "SELECT count(*) FROM nullable WHERE number IS NULL AND flag IS NULL"), "1");

  auto selected = connection().execute("SELECT $1", {Null{}});
  ASSERT_TRUE(selected) << describe(selected.error());
  EXPECT_EQ(selected->value(0, 0), std::nullopt);
  EXPECT_EQ(selected->column_type(0), type_oid::kText);
}

TEST_F(Execute, ReadsRowsColumnsAndAffectedCounts) {
  ASSERT_TRUE(connection().execute("CREATE TABLE items (id int4 PRIMARY KEY, name text, big int8, flag bool)"));
  auto inserted = connection().execute("INSERT INTO items VALUES ($1, $2, $3, $4), ($5, $6, $7, $8)",
                                       {1, std::string("one"), std::int64_t{10}, true, 2, Null{}, Null{}, Null{}});
  ASSERT_TRUE(inserted) << describe(inserted.error());
  EXPECT_EQ(inserted->rows_affected(), 2u);
  EXPECT_EQ(inserted->column_count(), 0);

  auto updated = connection().execute("UPDATE items SET flag = $1", {false});
  ASSERT_TRUE(updated) << describe(updated.error());
  EXPECT_EQ(updated->rows_affected(), 2u);

  auto rows = connection().execute("SELECT id, name, big, flag FROM items ORDER BY id");
  ASSERT_TRUE(rows) << describe(rows.error());
  ASSERT_EQ(rows->row_count(), 2);
  ASSERT_EQ(rows->column_count(), 4);
  EXPECT_EQ(rows->column_name(1), "name");
  EXPECT_EQ((std::vector<Oid>{rows->column_type(0), rows->column_type(1), rows->column_type(2), rows->column_type(3)}),
            (std::vector<Oid>{type_oid::kInt4, type_oid::kText, type_oid::kInt8, type_oid::kBool}));
  EXPECT_EQ(rows->value(0, 1), "one");
  EXPECT_EQ(rows->value(0, 2), "10");
  EXPECT_EQ(rows->value(1, 1), std::nullopt);
  EXPECT_EQ(rows->value(1, 3), "f");
}

TEST_F(Execute, ServerErrorsCarryTheirCodeAndFields) {
  ASSERT_TRUE(connection().execute("CREATE TABLE unique_ids (id int4 PRIMARY KEY)"));
  ASSERT_TRUE(connection().execute("INSERT INTO unique_ids VALUES (1)"));
  struct {
    std::string sql;
    std::vector<Param> params;
    Error expected;
  } cases[] = {
      {"SELECT * FROM missing_table", {}, {ErrorKind::Server, "relation \"missing_table\" does not exist", "42P01", "ERROR", "", "", ""}},
      {"INSERT INTO unique_ids VALUES ($1)",
       {1},
       {ErrorKind::Server, "duplicate key value violates unique constraint \"unique_ids_pkey\"", "23505", "ERROR",
        "Key (id)=(1) already exists.", "", ""}},
      {"DO $$ BEGIN RAISE EXCEPTION 'custom failure' USING DETAIL = 'the detail', HINT = 'the hint'; END $$",
       {},
       {ErrorKind::Server, "custom failure", "P0001", "ERROR", "the detail", "the hint",
        "PL/pgSQL function inline_code_block line 1 at RAISE"}},
      {"SELECT 1; SELECT 2", {}, {ErrorKind::Server, "cannot insert multiple commands into a prepared statement", "42601", "ERROR", "", "", ""}},
      // The parameter is bound as text, so it is not compared as a number.
      {"SELECT $1 = 1",
       {std::string("1")},
       {ErrorKind::Server, "operator does not exist: text = integer", "42883", "ERROR", "",
        "No operator matches the given name and argument types. You might need to add explicit type casts.", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    auto result = connection().execute(c.sql, c.params);
    ASSERT_FALSE(result);
    const Error& error = result.error();
    EXPECT_EQ(error.kind, c.expected.kind);
    EXPECT_EQ(error.message, c.expected.message);
    EXPECT_EQ(error.sqlstate, c.expected.sqlstate);
    EXPECT_EQ(error.severity, c.expected.severity);
    EXPECT_EQ(error.detail, c.expected.detail);
    EXPECT_EQ(error.hint, c.expected.hint);
    EXPECT_EQ(error.context, c.expected.context);
    EXPECT_TRUE(connection().healthy());
    EXPECT_EQ(query_value(connection(), "SELECT 1"), "1");
  }
}

TEST_F(Execute, DescribeShowsEveryFieldThatIsSet) {
  auto result = connection().execute("DO $$ BEGIN RAISE EXCEPTION 'failure' USING DETAIL = 'd', HINT = 'h'; END $$");
  ASSERT_FALSE(result);
  EXPECT_EQ(describe(result.error()),
            "ERROR P0001: failure\nDETAIL: d\nHINT: h\nCONTEXT: PL/pgSQL function inline_code_block line 1 at RAISE");
  EXPECT_EQ(describe(client_error(ErrorKind::PoolTimeout, "timed out")), "timed out");
}

TEST_F(Execute, ScriptsRunAsOneAndStopAtTheFirstFailure) {
  auto failed = connection().execute_script(
      "CREATE TABLE first (x int4); INSERT INTO missing VALUES (1); CREATE TABLE third (x int4)");
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error().sqlstate, "42P01");
  EXPECT_EQ(query_value(connection(), "SELECT count(*) FROM pg_tables WHERE tablename IN ('first', 'third')"), "0");
  EXPECT_EQ(connection().transaction_status(), PQTRANS_IDLE);

  auto ran = connection().execute_script("CREATE TABLE first (x int4); INSERT INTO first VALUES (1), (2)");
  ASSERT_TRUE(ran) << describe(ran.error());
  EXPECT_EQ(query_value(connection(), "SELECT sum(x) FROM first"), "3");
}

TEST_F(Execute, NoticesAreKeptAndNeverPrinted) {
  testing::internal::CaptureStderr();
  auto raised = connection().execute("DO $$ BEGIN RAISE NOTICE 'a notice'; RAISE WARNING 'a warning'; END $$");
  auto dropped = connection().execute_script("DROP TABLE IF EXISTS missing_table");
  std::string printed = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(raised) << describe(raised.error());
  ASSERT_TRUE(dropped) << describe(dropped.error());
  EXPECT_EQ(printed, "");

  const std::vector<Notice>& notices = connection().notices();
  ASSERT_EQ(notices.size(), 3u);
  EXPECT_EQ(notices[0].severity, "NOTICE");
  EXPECT_EQ(notices[0].message, "a notice");
  EXPECT_EQ(notices[1].severity, "WARNING");
  EXPECT_EQ(notices[1].sqlstate, "01000");
  EXPECT_EQ(notices[1].message, "a warning");
  EXPECT_EQ(notices[2].message, "table \"missing_table\" does not exist, skipping");
  connection().clear_notices();
  EXPECT_TRUE(connection().notices().empty());
}

TEST_F(Execute, ASessionEndedByTheServerIsAnErrorAndUnhealthy) {
  auto admin = connect(conninfo());
  ASSERT_TRUE(admin) << describe(admin.error());
  int pid = PQbackendPID(connection().native());
  ASSERT_EQ(query_value(*admin, "SELECT pg_terminate_backend($1, 10000)", {pid}), "t");

  testing::internal::CaptureStderr();
  auto result = connection().execute("SELECT 1");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_FALSE(result);
  EXPECT_TRUE(result.error().sqlstate == "57P01" || result.error().kind == ErrorKind::Io) << describe(result.error());
  EXPECT_FALSE(connection().healthy());
  EXPECT_EQ(connection().transaction_status(), PQTRANS_UNKNOWN);
}

}  // namespace
}  // namespace connection

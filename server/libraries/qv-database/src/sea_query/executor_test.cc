#include "sea_query/executor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "connection/transaction.h"
#include "sea_query/catalog.h"
#include "test_support/database_fixture.h"

namespace sea_query::executor {
namespace {

using connection::describe;
using connection::ErrorKind;
using sqlbuilder::col;
using sqlbuilder::val;
using test_support::query_value;

class Executor : public test_support::DatabaseFixture {
 protected:
  void SetUp() override {
    DatabaseFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    pool_.emplace(conninfo(), pool::PoolOptions{.max_size = 2, .acquire_timeout = std::chrono::seconds(5), .settings = {}});
    auto lease = pool_->acquire();
    ASSERT_TRUE(lease) << describe(lease.error());
    ASSERT_TRUE((*lease)->execute_script(
        "CREATE TABLE items (name text, n int4, big int8, flag bool, label varchar(9), code char(2));"
        "INSERT INTO items VALUES ('a', 1, 10, true, 'l', 'c'), ('b', NULL, 20, false, NULL, NULL)"));
  }

  // SELECT <column> FROM "items" WHERE "name" = 'a' (or whichever `name`).
  static sqlbuilder::Select item(const char* column, const char* name = "a") {
    sqlbuilder::Select select;
    select.expr(col(column)).from("items").and_where(col("name").eq(val(std::string(name))));
    return select;
  }

  std::optional<pool::Pool> pool_;
};

TEST_F(Executor, FetchesAScalarOfTheColumnsOwnType) {
  const PoolExecutor executor(*pool_);
  EXPECT_EQ(executor.run_fetch_optional_scalar<bool>(item("flag")).get().value(), true);
  EXPECT_EQ(executor.run_fetch_optional_scalar<std::int32_t>(item("n")).get().value(), 1);
  EXPECT_EQ(executor.run_fetch_optional_scalar<std::string>(item("name")).get().value(), "a");
  EXPECT_EQ(executor.run_fetch_optional_scalar<std::string>(item("label")).get().value(), "l");
  EXPECT_EQ(executor.run_fetch_optional_scalar<std::string>(item("code")).get().value(), "c ");
  sqlbuilder::Select role;
  role.expr(catalog::current_user());
  EXPECT_TRUE(executor.run_fetch_optional_scalar<std::string>(role).get().value().has_value());
}

TEST_F(Executor, NoRowIsNoValueButAnErrorWhereARowIsRequired) {
  const PoolExecutor executor(*pool_);
  EXPECT_EQ(executor.run_fetch_optional_scalar<bool>(item("flag", "none")).get().value(), std::nullopt);
  auto required = executor.run(item("flag", "none"), &op::fetch_one_scalar<bool>).get();
  ASSERT_FALSE(required);
  EXPECT_EQ(required.error().kind, ErrorKind::RowNotFound);
}

TEST_F(Executor, AnotherColumnTypeOrANullIsADecodeError) {
  const PoolExecutor executor(*pool_);
  struct {
    const char* what;
    op::Result<bool> decoded;
  } cases[] = {
      {"int8 as int4", executor.run_fetch_optional_scalar<std::int32_t>(item("big")).get().transform(
                           [](auto) { return true; })},
      {"int4 as bool", executor.run_fetch_optional_scalar<bool>(item("n")).get().transform([](auto) { return true; })},
      {"bool as text",
       executor.run_fetch_optional_scalar<std::string>(item("flag")).get().transform([](auto) { return true; })},
      {"NULL", executor.run_fetch_optional_scalar<std::int32_t>(item("n", "b")).get().transform(
                   [](auto) { return true; })},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.what);
    ASSERT_FALSE(test_case.decoded);
    EXPECT_EQ(test_case.decoded.error().kind, ErrorKind::Decode);
  }
}

TEST_F(Executor, ExecuteCountsTheRowsItChanged) {
  sqlbuilder::Insert insert;
  insert.into("items").columns({"name", "big"}).values({val(std::string("c")), val(std::int64_t{30})});
  EXPECT_EQ(PoolExecutor(*pool_).run_execute(insert).get().value(), 1u);
  sqlbuilder::Update update;
  update.table("items").set("flag", val(true));
  EXPECT_EQ(PoolExecutor(*pool_).run(update, &op::execute).get().value(), 3u);
}

TEST_F(Executor, AnUndefinedSettingIsTheServersError) {
  sqlbuilder::Select select;
  select.expr(catalog::current_setting("qv.not_defined"));
  auto value = PoolExecutor(*pool_).run_fetch_optional_scalar<std::string>(select).get();
  ASSERT_FALSE(value);
  EXPECT_EQ(value.error().sqlstate, "42704");
}

TEST_F(Executor, OnAHeldConnectionStatementsJoinItsTransaction) {
  auto lease = pool_->acquire();
  ASSERT_TRUE(lease);
  {
    auto transaction = connection::Transaction::begin(**lease);
    ASSERT_TRUE(transaction);
    sqlbuilder::Insert insert;
    insert.into("items").columns({"name"}).values({val(std::string("rolled back"))});
    EXPECT_EQ(ConnectionExecutor(**lease).run_execute(insert).get().value(), 1u);
    EXPECT_EQ(ConnectionExecutor(**lease).run_fetch_optional_scalar<std::string>(item("name", "rolled back"))
                  .get()
                  .value(),
              "rolled back");
  }
  EXPECT_EQ(query_value(**lease, "SELECT count(*) FROM items WHERE name = 'rolled back'"), "0");
}

// Counts its calls; an operation is a plain function, so the count is global.
int operation_calls = 0;
op::Result<bool> counted_operation(std::string, std::vector<connection::Param>, connection::Connection&) {
  ++operation_calls;
  return true;
}

TEST_F(Executor, APoolWithoutConnectionsRunsNothingAndReportsWhy) {
  pool::Pool unreachable(conninfo_with({{"password", "wrong"}}),
                         pool::PoolOptions{.max_size = 1, .acquire_timeout = std::chrono::seconds(5), .settings = {}});
  operation_calls = 0;
  auto result = PoolExecutor(unreachable).run(item("flag"), &counted_operation).get();
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().kind, ErrorKind::Connect);
  EXPECT_EQ(operation_calls, 0);
}

TEST_F(Executor, APooledConnectionGoesBackAfterFailureToo) {
  pool::Pool one(conninfo(),
                 pool::PoolOptions{.max_size = 1, .acquire_timeout = std::chrono::milliseconds(200), .settings = {}});
  sqlbuilder::Select broken;
  broken.expr(col("missing")).from("items");
  EXPECT_FALSE(PoolExecutor(one).run_fetch_optional_scalar<bool>(broken).get());
  EXPECT_TRUE(PoolExecutor(one).run_fetch_optional_scalar<bool>(item("flag")).get());
}

}  // namespace
}  // namespace sea_query::executor

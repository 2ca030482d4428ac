#include "connection/transaction.h"

#include <gtest/gtest.h>

#include "connection/savepoint.h"
#include "test_support/database_fixture.h"

namespace connection {
namespace {

using test_support::query_value;

// A connection to the test database with a table "ids" (id int4 PRIMARY KEY).
class Transactions : public test_support::DatabaseFixture {
 protected:
  void SetUp() override {
    DatabaseFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    auto opened = connect(conninfo());
    ASSERT_TRUE(opened) << describe(opened.error());
    connection_.emplace(std::move(opened).value());
    ASSERT_TRUE(connection_->execute("CREATE TABLE ids (id int4 PRIMARY KEY)"));
  }

  Connection& connection() { return *connection_; }

  void insert(std::int32_t id) {
    auto inserted = connection().execute("INSERT INTO ids VALUES ($1)", {id});
    ASSERT_TRUE(inserted) << describe(inserted.error());
  }

  std::string ids() {
    return query_value(connection(), "SELECT coalesce(string_agg(id::text, ',' ORDER BY id), '') FROM ids");
  }

 private:
  std::optional<Connection> connection_;
};

TEST_F(Transactions, RollBackUnlessCommitted) {
  {
    auto transaction = Transaction::begin(connection());
    ASSERT_TRUE(transaction) << describe(transaction.error());
    insert(1);
    EXPECT_EQ(connection().transaction_status(), PQTRANS_INTRANS);
  }
  EXPECT_EQ(connection().transaction_status(), PQTRANS_IDLE);
  EXPECT_EQ(ids(), "");

  {
    auto transaction = Transaction::begin(connection());
    ASSERT_TRUE(transaction) << describe(transaction.error());
    insert(2);
    auto rolled_back = transaction->rollback();
    EXPECT_TRUE(rolled_back) << describe(rolled_back.error());
  }
  EXPECT_EQ(ids(), "");

  {
    auto transaction = Transaction::begin(connection());
    ASSERT_TRUE(transaction) << describe(transaction.error());
    insert(3);
    auto committed = transaction->commit();
    EXPECT_TRUE(committed) << describe(committed.error());
  }
  EXPECT_EQ(connection().transaction_status(), PQTRANS_IDLE);
  EXPECT_EQ(ids(), "3");
}

TEST_F(Transactions, AFailedCommitEndsTheBlock) {
  ASSERT_TRUE(connection().execute("CREATE TABLE deferred (id int4 UNIQUE DEFERRABLE INITIALLY DEFERRED)"));
  auto transaction = Transaction::begin(connection());
  ASSERT_TRUE(transaction) << describe(transaction.error());
  ASSERT_TRUE(connection().execute("INSERT INTO deferred VALUES (1), (1)"));
  insert(1);
  auto committed = transaction->commit();
  ASSERT_FALSE(committed);
  EXPECT_EQ(committed.error().sqlstate, "23505");
  EXPECT_EQ(connection().transaction_status(), PQTRANS_IDLE);
  EXPECT_EQ(ids(), "");
}

TEST_F(Transactions, RollingBackToASavepointKeepsTheTransactionUsable) {
  auto transaction = Transaction::begin(connection());
  ASSERT_TRUE(transaction) << describe(transaction.error());
  insert(1);
  {
    auto savepoint = Savepoint::open(connection());
    ASSERT_TRUE(savepoint) << describe(savepoint.error());
    auto missing = connection().execute("SELECT value FROM missing_table");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().sqlstate, "42P01");
    EXPECT_EQ(connection().transaction_status(), PQTRANS_INERROR);
    auto rolled_back = savepoint->rollback();
    ASSERT_TRUE(rolled_back) << describe(rolled_back.error());
  }
  EXPECT_EQ(connection().transaction_status(), PQTRANS_INTRANS);
  insert(2);
  ASSERT_TRUE(transaction->commit());
  EXPECT_EQ(ids(), "1,2");
}

TEST_F(Transactions, WithoutASavepointAFailedStatementAbortsTheTransaction) {
  auto transaction = Transaction::begin(connection());
  ASSERT_TRUE(transaction) << describe(transaction.error());
  ASSERT_FALSE(connection().execute("SELECT value FROM missing_table"));
  auto next = connection().execute("INSERT INTO ids VALUES (1)");
  ASSERT_FALSE(next);
  EXPECT_EQ(next.error().sqlstate, "25P02");
}

TEST_F(Transactions, SavepointsNestAndRollBackWhenLeftUnreleased) {
  auto transaction = Transaction::begin(connection());
  ASSERT_TRUE(transaction) << describe(transaction.error());
  insert(1);
  {
    auto dropped = Savepoint::open(connection());
    ASSERT_TRUE(dropped) << describe(dropped.error());
    insert(2);
  }
  {
    auto outer = Savepoint::open(connection());
    ASSERT_TRUE(outer) << describe(outer.error());
    insert(3);
    {
      auto inner = Savepoint::open(connection());
      ASSERT_TRUE(inner) << describe(inner.error());
      insert(4);
    }
    {
      auto kept = Savepoint::open(connection());
      ASSERT_TRUE(kept) << describe(kept.error());
      insert(5);
      ASSERT_TRUE(kept->release());
    }
    ASSERT_TRUE(outer->release());
  }
  ASSERT_TRUE(transaction->commit());
  EXPECT_EQ(ids(), "1,3,5");
}

}  // namespace
}  // namespace connection

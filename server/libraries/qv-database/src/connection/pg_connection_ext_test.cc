#include "connection/pg_connection_ext.h"

#include <gtest/gtest.h>

#include "connection/transaction.h"
#include "test_support/database_fixture.h"

namespace connection {
namespace {

using test_support::query_value;

class Batch : public test_support::DatabaseFixture {
 protected:
  void SetUp() override {
    DatabaseFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    auto opened = connect(conninfo());
    ASSERT_TRUE(opened) << describe(opened.error());
    connection_.emplace(std::move(opened).value());
  }

  std::optional<Connection> connection_;
};

TEST_F(Batch, StopsAtTheFirstFailingStatementAndSendsNothingAfterIt) {
  auto ran = execute_batch(*connection_, {"CREATE TABLE first (n int)", "CREATE TABLE first (n int)",
                                          "CREATE TABLE third (n int)"});
  ASSERT_FALSE(ran);
  EXPECT_EQ(ran.error().sqlstate, "42P07");
  EXPECT_EQ(query_value(*connection_, "SELECT to_regclass('first') IS NOT NULL"), "t");
  EXPECT_EQ(query_value(*connection_, "SELECT to_regclass('third') IS NULL"), "t");
}

TEST_F(Batch, AnEmptyBatchSendsNothing) {
  // Inside a failed transaction any statement would fail.
  auto transaction = Transaction::begin(*connection_);
  ASSERT_TRUE(transaction);
  ASSERT_FALSE(connection_->execute("SELECT 1/0"));
  EXPECT_TRUE(execute_batch(*connection_, {}));
}

TEST_F(Batch, EachEntryIsOneCommandButADoBlockCountsAsOne) {
  EXPECT_TRUE(execute_batch(*connection_, {"DO $$ BEGIN PERFORM 1; PERFORM 2; END $$"}));
  auto several = execute_batch(*connection_, {"SELECT 1; SELECT 2"});
  ASSERT_FALSE(several);
  EXPECT_EQ(several.error().sqlstate, "42601");
}

TEST_F(Batch, ALocalSecretLastsUntilTheTransactionEnds) {
  {
    auto transaction = Transaction::begin(*connection_);
    ASSERT_TRUE(transaction);
    ASSERT_TRUE(set_local_secret(*connection_, "qv.owner_password", "it's s3cret"));
    EXPECT_EQ(query_value(*connection_, "SELECT current_setting('qv.owner_password')"), "it's s3cret");
    ASSERT_TRUE(transaction->commit());
  }
  EXPECT_EQ(query_value(*connection_, "SELECT current_setting('qv.owner_password', true)"), "");
}

}  // namespace
}  // namespace connection

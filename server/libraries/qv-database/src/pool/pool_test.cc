#include "pool/pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include "test_support/database_fixture.h"

namespace pool {
namespace {

using connection::describe;
using connection::ErrorKind;
using test_support::query_value;

using namespace std::chrono_literals;

class PoolTest : public test_support::DatabaseFixture {
 protected:
  Pool make_pool(std::size_t max_size, std::chrono::milliseconds acquire_timeout) const {
    return Pool(conninfo(), PoolOptions{.max_size = max_size, .acquire_timeout = acquire_timeout, .settings = {}});
  }

  // Whether the server ends the backend `pid` within a few seconds.
  bool backend_ends(int pid) {
    auto admin = connection::connect(conninfo());
    if (!admin) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
      if (query_value(*admin, "SELECT count(*) FROM pg_stat_activity WHERE pid = $1", {pid}) == "0") return true;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }
};

int backend_of(Lease& lease) { return PQbackendPID(lease->native()); }

TEST_F(PoolTest, HoldsAtMostItsSizeAndTimesOutWaiting) {
  Pool pool = make_pool(2, 200ms);
  auto first = pool.acquire();
  auto second = pool.acquire();
  ASSERT_TRUE(first) << describe(first.error());
  ASSERT_TRUE(second) << describe(second.error());
  int first_backend = backend_of(*first);

  auto third = pool.acquire();
  ASSERT_FALSE(third);
  EXPECT_EQ(third.error().kind, ErrorKind::PoolTimeout);
  EXPECT_EQ(third.error().message, "pool timed out while waiting for an open connection");
  EXPECT_EQ(pool.open_count(), 2u);

  { Lease given_back = std::move(first).value(); }
  auto again = pool.acquire();
  ASSERT_TRUE(again) << describe(again.error());
  EXPECT_EQ(backend_of(*again), first_backend);
  EXPECT_EQ(pool.open_count(), 2u);
}

TEST_F(PoolTest, AWaitingCallerGetsTheSessionGivenBack) {
  Pool pool = make_pool(1, 10s);
  auto held = pool.acquire();
  ASSERT_TRUE(held) << describe(held.error());
  int backend = backend_of(*held);
  std::thread giver([lease = std::move(held).value()]() mutable {
    std::this_thread::sleep_for(100ms);
    Lease ended = std::move(lease);
  });
  auto waited = pool.acquire();
  giver.join();
  ASSERT_TRUE(waited) << describe(waited.error());
  EXPECT_EQ(backend_of(*waited), backend);
}

TEST_F(PoolTest, SessionsLeftInATransactionOrBrokenAreClosed) {
  auto admin = connection::connect(conninfo());
  ASSERT_TRUE(admin) << describe(admin.error());
  struct {
    const char* name;
    std::function<void(connection::Connection&)> leave;
  } cases[] = {
      {"in a transaction", [](connection::Connection& session) { ASSERT_TRUE(session.execute("BEGIN")); }},
      {"in a failed transaction",
       [](connection::Connection& session) {
         ASSERT_TRUE(session.execute("BEGIN"));
         ASSERT_FALSE(session.execute("SELECT * FROM missing_table"));
       }},
      {"ended by the server",
       [&](connection::Connection& session) {
         int pid = PQbackendPID(session.native());
         ASSERT_EQ(query_value(*admin, "SELECT pg_terminate_backend($1, 10000)", {pid}), "t");
         ASSERT_FALSE(session.execute("SELECT 1"));
       }},
  };
  Pool pool = make_pool(1, 1s);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int left_backend;
    {
      auto lease = pool.acquire();
      ASSERT_TRUE(lease) << describe(lease.error());
      left_backend = backend_of(*lease);
      c.leave(**lease);
    }
    EXPECT_EQ(pool.open_count(), 0u);
    EXPECT_TRUE(backend_ends(left_backend));
    auto next = pool.acquire();
    ASSERT_TRUE(next) << describe(next.error());
    EXPECT_NE(backend_of(*next), left_backend);
    EXPECT_EQ((*next)->transaction_status(), PQTRANS_IDLE);
  }
}

TEST_F(PoolTest, NoticesDoNotFollowASessionBackIntoThePool) {
  Pool pool = make_pool(1, 1s);
  {
    auto lease = pool.acquire();
    ASSERT_TRUE(lease) << describe(lease.error());
    ASSERT_TRUE((*lease)->execute("DO $$ BEGIN RAISE NOTICE 'left behind'; END $$"));
    EXPECT_EQ((*lease)->notices().size(), 1u);
  }
  auto lease = pool.acquire();
  ASSERT_TRUE(lease) << describe(lease.error());
  EXPECT_TRUE((*lease)->notices().empty());
}

TEST_F(PoolTest, SettingsApplyToEverySession) {
  Pool pool(conninfo(), PoolOptions{.max_size = 2, .acquire_timeout = 1s, .settings = {{"options", "-csearch_path=home"}}});
  auto first = pool.acquire();
  auto second = pool.acquire();
  ASSERT_TRUE(first) << describe(first.error());
  ASSERT_TRUE(second) << describe(second.error());
  EXPECT_EQ(query_value(**first, "SHOW search_path"), "home");
  EXPECT_EQ(query_value(**second, "SHOW search_path"), "home");
}

TEST_F(PoolTest, AFailedConnectFailsTheAcquireAndFreesItsPlace) {
  Pool pool(conninfo_with({{"dbname", "no_such_database"}}), PoolOptions{.max_size = 1, .acquire_timeout = 100ms, .settings = {}});
  for (int attempt = 0; attempt < 2; ++attempt) {
    SCOPED_TRACE(attempt);
    auto lease = pool.acquire();
    ASSERT_FALSE(lease);
    EXPECT_EQ(lease.error().kind, ErrorKind::Connect);
    EXPECT_NE(lease.error().message.find("database \"no_such_database\" does not exist"), std::string::npos);
    EXPECT_EQ(pool.open_count(), 0u);
  }
}

TEST_F(PoolTest, ConcurrentCallersShareAtMostItsSize) {
  constexpr std::size_t kSize = 3;
  Pool pool = make_pool(kSize, 30s);
  std::atomic<int> leased = 0;
  std::atomic<int> most_leased = 0;
  std::atomic<int> failures = 0;
  std::mutex backends_mutex;
  std::set<int> backends;
  std::vector<std::thread> callers;
  for (int caller = 0; caller < 8; ++caller) {
    callers.emplace_back([&] {
      for (int round = 0; round < 20; ++round) {
        auto lease = pool.acquire();
        if (!lease) {
          ++failures;
          continue;
        }
        int now = ++leased;
        for (int most = most_leased; now > most && !most_leased.compare_exchange_weak(most, now);) {
        }
        if (query_value(**lease, "SELECT 1") != "1") ++failures;
        {
          std::lock_guard lock(backends_mutex);
          backends.insert(backend_of(*lease));
        }
        --leased;
      }
    });
  }
  for (std::thread& caller : callers) caller.join();
  EXPECT_EQ(failures, 0);
  EXPECT_LE(most_leased, static_cast<int>(kSize));
  EXPECT_LE(backends.size(), kSize);
  EXPECT_LE(pool.open_count(), kSize);
}

}  // namespace
}  // namespace pool

#include "startup_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <thread>
#include <vector>

namespace qv_common::startup_registry {
namespace {

struct Plugin {
  int id;
  static void submit(StartupRegistry<Plugin>::Node& node);
};

// Constant-initialised: the registrations below submit to it during dynamic
// initialisation, whatever the order of translation units.
constinit StartupRegistry<Plugin> plugins;

void Plugin::submit(StartupRegistry<Plugin>::Node& node) { plugins.submit(node); }

const Registration<Plugin> kFirst{Plugin{1}};
const Registration<Plugin> kSecond{Plugin{2}};
const Registration<Plugin> kThird{Plugin{3}};

std::vector<int> ids(const StartupRegistry<Plugin>& registry) {
  std::vector<int> result;
  for (const Plugin& plugin : registry) result.push_back(plugin.id);
  return result;
}

TEST(StartupRegistry, RegistrationsBeforeMainAreWalkedLastFirst) {
  EXPECT_THAT(ids(plugins), testing::ElementsAre(3, 2, 1));
}

TEST(StartupRegistry, EmptyRegistryWalksNothing) {
  const StartupRegistry<Plugin> registry;
  EXPECT_EQ(registry.begin(), registry.end());
}

TEST(StartupRegistry, ConcurrentSubmittersLoseNoEntry) {
  constexpr int kThreads = 8;
  constexpr int kPerThread = 2000;
  StartupRegistry<Plugin> registry;
  std::vector<std::deque<Plugin>> entries(kThreads);
  std::vector<std::deque<StartupRegistry<Plugin>::Node>> nodes(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) {
        registry.submit(nodes[t].emplace_back(entries[t].emplace_back(Plugin{t * kPerThread + i})));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  const std::vector<int> walked = ids(registry);
  EXPECT_EQ(walked.size(), std::size_t{kThreads * kPerThread});
  EXPECT_EQ(std::set<int>(walked.begin(), walked.end()).size(), std::size_t{kThreads * kPerThread});
  // Each submitter's own entries keep their relative order, newest first.
  std::vector<int> last_seen(kThreads, kPerThread);
  for (const int id : walked) {
    const int thread = id / kPerThread;
    EXPECT_LT(id % kPerThread, last_seen[thread]);
    last_seen[thread] = id % kPerThread;
  }
}

}  // namespace
}  // namespace qv_common::startup_registry

#include "runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace qv_server::runtime {
namespace {

TEST(ParseWorkerCount, AcceptsPositiveDecimalIntegers) {
  EXPECT_EQ(parse_worker_count("1").value(), 1u);
  EXPECT_EQ(parse_worker_count("16").value(), 16u);
  EXPECT_EQ(parse_worker_count("007").value(), 7u);
}

TEST(ParseWorkerCount, RejectsEverythingElseNamingTheVariable) {
  struct Case {
    std::string value;
    std::string message;
  };
  const Case cases[] = {
      {"0", "TOKIO_WORKER_THREADS cannot be set to 0"},
      {"000", "TOKIO_WORKER_THREADS cannot be set to 0"},
      {"abc", "TOKIO_WORKER_THREADS must be a positive integer, got \"abc\""},
      {"-1", "TOKIO_WORKER_THREADS must be a positive integer, got \"-1\""},
      {"+4", "TOKIO_WORKER_THREADS must be a positive integer, got \"+4\""},
      {" 4", "TOKIO_WORKER_THREADS must be a positive integer, got \" 4\""},
      {"4x", "TOKIO_WORKER_THREADS must be a positive integer, got \"4x\""},
      {"", "TOKIO_WORKER_THREADS must be a positive integer, got \"\""},
      {"99999999999999999999999",
       "TOKIO_WORKER_THREADS must be a positive integer, got \"99999999999999999999999\""},
      {"\xFF", "TOKIO_WORKER_THREADS must be valid unicode"},
  };
  for (const Case& c : cases) {
    const auto count = parse_worker_count(c.value);
    ASSERT_FALSE(count) << c.value;
    EXPECT_EQ(count.error(), c.message);
  }
}

TEST(Runtime, StartsTheWorkersAndRunsTheBodyOnTheCallingThread) {
  Runtime runtime(3);
  EXPECT_EQ(runtime.worker_count(), 3u);
  const std::thread::id caller = std::this_thread::get_id();
  const bool on_caller = runtime.block_on([&] { return std::this_thread::get_id() == caller; });
  EXPECT_TRUE(on_caller);
}

}  // namespace
}  // namespace qv_server::runtime

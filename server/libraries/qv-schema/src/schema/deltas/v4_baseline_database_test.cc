#include <gtest/gtest.h>

#include <ranges>

#include "connection/transaction.h"
#include "schema/current/source.h"
#include "schema/deltas/deltas.h"
#include "test_support/v4_installed_schema.h"

namespace schema::deltas {
namespace {

using StepsOnVersionFour = test_support::V4InstalledSchemaFixture;

void append(std::vector<std::string>& texts, const std::vector<std::string>& more) {
  texts.insert(texts.end(), more.begin(), more.end());
}

// The texts of steps 5 to 13 on an empty version-4 database, wrapped as a
// migration wraps them: what the steps retire, newest step first, and the
// drops of every derived object before the steps; the creates after them.
TEST_F(StepsOnVersionFour, StepsFiveToThirteenRunBetweenTheDropsAndCreatesOfTheDerivedObjects) {
  std::vector<source::Delta> steps;
  for (source::Version target = 5; target <= kLastTarget; ++target) {
    auto delta = get(target);
    ASSERT_TRUE(delta.has_value()) << delta.error();
    steps.push_back(std::move(*delta));
  }
  const source::DerivedScripts derived = source::derived_scripts(current::Source());
  std::vector<std::string> texts;
  for (const source::Delta& step : std::views::reverse(steps)) append(texts, step.retired);
  append(texts, derived.drops);
  for (const source::Delta& step : steps) append(texts, step.up);
  append(texts, derived.creates);

  auto transaction = connection::Transaction::begin(db());
  ASSERT_TRUE(transaction) << connection::describe(transaction.error());
  test_support::run_texts(db(), texts);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(transaction->commit());
  EXPECT_EQ(::test_support::query_value(db(), "SELECT value FROM quorvale_system WHERE name = 'db_version'"), "13");
}

}  // namespace
}  // namespace schema::deltas

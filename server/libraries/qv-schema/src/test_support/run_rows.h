#pragma once

// Rows for tests of the run tables (executions down to workers and metrics)
// on an installed schema: every table gets a set of usual values, so that a
// test names only the columns its case is about.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "test_support/installed_schema.h"

namespace schema::test_support {

// Column values as SQL expressions, e.g. {"status", "'C'"}.
using Values = std::vector<std::pair<std::string, std::string>>;

// The instant 2024-01-01 at `time` (e.g. "10:30") in UTC, as a SQL literal.
std::string at(std::string_view time);

// An installed schema holding project 'P1' with group 'G1', collection 'C1',
// version 100 of function 'F1' (named "function one", storage version 'v1'),
// execution 200 and transaction 300; the session shows instants in UTC.
class RunRowsFixture : public InstalledSchemaFixture {
 protected:
  void SetUp() override;

  // Inserts a row of `table`: the table's usual values, `values` in their
  // place or added to them. Returns "ok", or the error's SQLSTATE and the
  // server's message, e.g. "P0001 workers.status cannot move from S to RR".
  std::string insert(std::string_view table, const Values& values = {});
  // Inserts a row that the test needs, failing the test when it is refused.
  void add(std::string_view table, const Values& values = {});
  // Runs one statement; returns its outcome as insert does.
  std::string outcome(std::string_view sql);
  // Expects that the row of `referenced` whose "id" is `key` can be neither
  // deleted nor re-keyed to `new_key` while `referencing` refers to it
  // through `constraint`. The deleted row is put back in the same statement:
  // a NO ACTION key would accept that, a RESTRICT key refuses it.
  void expect_restricted(std::string_view referenced, std::string_view key, std::string_view new_key,
                         std::string_view referencing, std::string_view constraint);
  // The first value of the query's first row, as ::test_support::query_value.
  std::string value(std::string_view sql);
  // The validity intervals of the versioned rows of `table` that meet
  // `condition`, in order, e.g. "601 10:00-11:00, 602 11:00-infinity".
  std::string versions(std::string_view table, std::string_view condition);
};

}  // namespace schema::test_support

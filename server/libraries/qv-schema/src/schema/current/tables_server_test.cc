// Table versions, dependencies and triggers on the installed schema: the
// default table type, one open version and one open name, required columns,
// the RESTRICT of function versions, and the views with names.

#include <gtest/gtest.h>

#include "test_support/catalog_rows.h"
#include "test_support/installed_schema.h"
#include "test_support/sql_outcome.h"

namespace schema::current {
namespace {

using test_support::collection_chain;
using test_support::insert_row;
using test_support::outcome;
using test_support::query_rows;
using test_support::run_texts;
using test_support::Values;
using Rows = std::vector<std::string>;

// Project "p1", group "g1", collection "c1" and version 1 of function "f1".
class TablesServerTest : public test_support::InstalledSchemaFixture {
 protected:
  void SetUp() override {
    InstalledSchemaFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run_texts(db(), collection_chain());
    run_texts(db(), {insert_row("functions")});
  }
};

// A row of `table` valid from `day` of January 2024.
std::string version(const char* table, const char* id, int day, Values values = {}) {
  values.emplace_back("id", std::string("'") + id + "'");
  values.emplace_back("valid_from", "'2024-01-" + std::to_string(day) + " 00:00:00+00'");
  return insert_row(table, values);
}

TEST_F(TablesServerTest, TableTypeDefaultsToR) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("tables", {{"table_type", "DEFAULT"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT table_type FROM tables"), Rows{"R"});
}

TEST_F(TablesServerTest, OneOpenTablePerNameInACollection) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {version("tables", "t1", 1, {{"name", "'old'"}}),
                                           version("tables", "t2", 2, {{"name", "'new'"}})}));
  EXPECT_EQ(outcome(db(), version("tables", "t3", 3, {{"table_id", "'t3'"}, {"name", "'new'"}})),
            "23505: duplicate key value violates unique constraint \"tables___collection_id__name___current_uidx\"");
  EXPECT_EQ(outcome(db(), version("tables", "t3", 3, {{"table_id", "'t3'"}, {"name", "'old'"}})), "ok");
}

// Versions 1 to 3 of the same key, each with a name of its own; version 1 is
// then reopened.
TEST_F(TablesServerTest, OneOpenVersionPerKey) {
  struct Case {
    const char* table;
    const char* outcome;
  };
  const Case cases[] = {
      {"tables", "23505: duplicate key value violates unique constraint \"tables___table_id___current_uidx\""},
      {"dependencies",
       "23505: duplicate key value violates unique constraint \"dependencies___dependency_id___current_uidx\""},
      {"triggers", "23505: duplicate key value violates unique constraint \"triggers___trigger_id___current_uidx\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    const bool named = std::string_view(c.table) == "tables";
    const auto named_version = [&](const char* id, int day) {
      return version(c.table, id, day, named ? Values{{"name", std::string("'") + id + "'"}} : Values{});
    };
    ASSERT_NO_FATAL_FAILURE(run_texts(db(), {named_version("v1", 1), named_version("v2", 2), named_version("v3", 3)}));
    EXPECT_EQ(query_rows(db(), std::string("SELECT string_agg(id, ',' ORDER BY id) FROM ") + c.table +
                                   " WHERE valid_to <> 'infinity'"),
              Rows{"v1,v2"});
    EXPECT_EQ(outcome(db(), std::string("UPDATE ") + c.table + " SET valid_to = 'infinity' WHERE id = 'v1'"),
              c.outcome);
  }
}

TEST_F(TablesServerTest, TableVersionsBelongToExistingFunctionVersions) {
  EXPECT_EQ(outcome(db(), insert_row("tables", {{"function_version_id", "2"}})),
            "23503: insert or update on table \"tables\" violates foreign key constraint "
            "\"tables_function_version_id_fkey\"");
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("tables")}));
  EXPECT_EQ(outcome(db(), "DELETE FROM functions"),
            "23503: update or delete on table \"functions\" violates foreign key constraint "
            "\"tables_function_version_id_fkey\" on table \"tables\"");
}

TEST_F(TablesServerTest, TablesWithNames) {
  // "function" is the name of the producing version, not of the open one.
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {insert_row("functions", {{"id", "2"}, {"name", "'renamed'"}, {"valid_from", "'2024-02-01'"}}),
             version("tables", "t1", 1, {{"table_id", "'t1'"}, {"name", "'a'"}, {"function_param_pos", "-1"}}),
             version("tables", "t2", 1, {{"table_id", "'t2'"}, {"name", "'b'"}, {"function_param_pos", "0"},
                                         {"defined_by_id", "'gone'"}}),
             version("tables", "t3", 1, {{"table_id", "'t3'"}, {"name", "'c'"}, {"function_param_pos", "NULL"},
                                         {"function_version_id", "2"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, system, defined_by, collection, collection_deleted, function "
                             "FROM tables__with_names ORDER BY id"),
            (Rows{"t1|t|system|collection1|f|function1", "t2|f|[gone]|collection1|f|function1",
                  "t3|NULL|system|collection1|f|renamed"}));
}

TEST_F(TablesServerTest, DependencyPositionAndSystemFlagAreRequired) {
  for (const char* column : {"dep_pos", "system"}) {
    EXPECT_EQ(outcome(db(), insert_row("dependencies", {{column, "DEFAULT"}})),
              std::string("23502: null value in column \"") + column +
                  "\" of relation \"dependencies\" violates not-null constraint");
  }
}

TEST_F(TablesServerTest, DependenciesNameTheCollectionOfTheirTable) {
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {version("dependencies", "d1", 1, {{"dependency_id", "'d1'"}}),
             version("dependencies", "d2", 1, {{"dependency_id", "'d2'"}, {"table_collection_id", "'gone'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, collection, collection_deleted, table_collection "
                             "FROM dependencies__with_names ORDER BY id"),
            (Rows{"d1|collection1|f|collection1", "d2|collection1|f|NULL"}));
}

TEST_F(TablesServerTest, SystemTriggersAreNotRead) {
  ASSERT_NO_FATAL_FAILURE(
      run_texts(db(), {version("triggers", "tr1", 1, {{"trigger_id", "'tr1'"}}),
                       version("triggers", "tr2", 1, {{"trigger_id", "'tr2'"}, {"system", "true"},
                                                      {"trigger_by_collection_id", "'gone'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, collection, trigger_by_collection FROM triggers__with_names ORDER BY id"),
            (Rows{"tr1|collection1|collection1", "tr2|collection1|NULL"}));
  EXPECT_EQ(query_rows(db(), "SELECT id FROM triggers__read"), Rows{"tr1"});
}

}  // namespace
}  // namespace schema::current

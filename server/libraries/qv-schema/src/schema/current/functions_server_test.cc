// Bundles, function versions, their patches and the view of both on the
// installed schema: required columns, the close trigger's chaining of
// versions, one open version and one open name, the insert-only patches, and
// the RESTRICT of collections and function versions.

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
using Rows = std::vector<std::string>;

class FunctionsServerTest : public test_support::InstalledSchemaFixture {
 protected:
  void SetUp() override {
    InstalledSchemaFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run_texts(db(), collection_chain());
  }
};

// Version `id` of function "f1", valid from `day` of January 2024.
std::string function_version(int id, int day, test_support::Values values = {}) {
  values.emplace_back("id", std::to_string(id));
  values.emplace_back("valid_from", "'2024-01-" + std::to_string(day) + " 00:00:00+00'");
  return insert_row("functions", values);
}

TEST_F(FunctionsServerTest, BundlesRequireEveryColumn) {
  for (const char* column :
       {"id", "project_id", "collection_id", "hash", "base_path", "status", "created_on", "created_by_id"}) {
    EXPECT_EQ(outcome(db(), insert_row("bundles", {{column, "DEFAULT"}})),
              std::string("23502: null value in column \"") + column +
                  "\" of relation \"bundles\" violates not-null constraint");
  }
}

TEST_F(FunctionsServerTest, BundlesBelongToExistingCollections) {
  EXPECT_EQ(outcome(db(), insert_row("bundles", {{"collection_id", "'gone'"}})),
            "23503: insert or update on table \"bundles\" violates foreign key constraint "
            "\"bundles_collection_id_fkey\"");
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("bundles")}));
  EXPECT_EQ(outcome(db(), "DELETE FROM collections"),
            "23503: update or delete on table \"collections\" violates foreign key constraint "
            "\"bundles_collection_id_fkey\" on table \"bundles\"");
}

TEST_F(FunctionsServerTest, VersionsChainWhateverTheOrderOfTheirInserts) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(1, 1), function_version(3, 3), function_version(2, 2)}));
  EXPECT_EQ(query_rows(db(), "SELECT id, to_char(valid_from AT TIME ZONE 'UTC', 'DD'), "
                             "CASE WHEN valid_to = 'infinity' THEN 'open' "
                             "ELSE to_char(valid_to AT TIME ZONE 'UTC', 'DD') END FROM functions ORDER BY id"),
            (Rows{"1|01|02", "2|02|03", "3|03|open"}));
}

TEST_F(FunctionsServerTest, VersionsOfOneStartOrderedById) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(5, 1), function_version(4, 1)}));
  EXPECT_EQ(query_rows(db(), "SELECT id, valid_to = 'infinity', valid_to = valid_from FROM functions ORDER BY id"),
            (Rows{"4|f|t", "5|t|f"}));
}

TEST_F(FunctionsServerTest, OneOpenVersionPerFunction) {
  // Each version has a name of its own, so that only the version index applies.
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(1, 1, {{"name", "'one'"}}),
                                           function_version(2, 2, {{"name", "'two'"}}),
                                           function_version(3, 3, {{"name", "'three'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT count(*) FILTER (WHERE valid_to = 'infinity'), count(*) FROM functions"),
            Rows{"1|3"});
  EXPECT_EQ(outcome(db(), "UPDATE functions SET valid_to = 'infinity' WHERE id = 1"),
            "23505: duplicate key value violates unique constraint \"functions___function_id___current_uidx\"");
}

TEST_F(FunctionsServerTest, OneOpenFunctionPerNameInACollection) {
  ASSERT_NO_FATAL_FAILURE(
      run_texts(db(), {function_version(1, 1, {{"name", "'old'"}}), function_version(2, 2, {{"name", "'new'"}})}));
  EXPECT_EQ(outcome(db(), function_version(3, 3, {{"function_id", "'f2'"}, {"name", "'new'"}})),
            "23505: duplicate key value violates unique constraint \"functions___collection_id__name___current_uidx\"");
  EXPECT_EQ(outcome(db(), function_version(3, 3, {{"function_id", "'f2'"}, {"name", "'old'"}})), "ok");
}

TEST_F(FunctionsServerTest, EnabledDefaultsToTrueAndMayBeNull) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(1, 1, {{"enabled", "DEFAULT"}}),
                                           function_version(2, 1, {{"function_id", "'f2'"},
                                                                   {"name", "'function2'"},
                                                                   {"enabled", "NULL"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, enabled FROM functions ORDER BY id"), (Rows{"1|t", "2|NULL"}));
}

TEST_F(FunctionsServerTest, ACollectionWithFunctionsCannotBeDeleted) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(1, 1)}));
  EXPECT_EQ(outcome(db(), "DELETE FROM collections"),
            "23503: update or delete on table \"collections\" violates foreign key constraint "
            "\"functions_collection_id_fkey\" on table \"functions\"");
}

TEST_F(FunctionsServerTest, FunctionsNameTheirCollectionGroupAndDefiningUser) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(1, 1, {{"defined_by_id", "'gone'"}}),
                                           "UPDATE collections SET name_when_deleted = name"}));
  EXPECT_EQ(query_rows(db(), "SELECT collection, collection_deleted, group_id, defined_by FROM functions__with_names"),
            Rows{"collection1|t|g1|[gone]"});
}

TEST_F(FunctionsServerTest, OneOpenPatchPerFunctionVersion) {
  ASSERT_NO_FATAL_FAILURE(
      run_texts(db(), {function_version(1, 1), insert_row("function_patches"),
                       insert_row("function_patches", {{"id", "2"}, {"valid_from", "'2024-01-02'"}}),
                       insert_row("function_patches", {{"id", "3"}, {"valid_from", "'2024-01-03'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id FROM function_patches WHERE valid_to = 'infinity'"), Rows{"3"});
  EXPECT_EQ(outcome(db(), "UPDATE function_patches SET valid_to = 'infinity' WHERE id = 1"),
            "23505: duplicate key value violates unique constraint "
            "\"function_patches___parent_function_version_id___current_uidx\"");
}

TEST_F(FunctionsServerTest, PatchesAreInsertOnlyButForTheirEnd) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(1, 1), insert_row("function_patches")}));
  const char* const refused = "P0001: function_patches is insert-only";
  struct Case {
    const char* sql;
    const char* outcome;
  };
  const Case cases[] = {
      {"UPDATE function_patches SET snippet = 'print()'", refused},
      {"UPDATE function_patches SET snippet = snippet", refused},
      {"UPDATE function_patches SET status = 'D', valid_to = '2025-01-01'", refused},
      {"UPDATE function_patches SET id = 2", refused},
      {"UPDATE function_patches SET valid_to = '2025-01-01'", "ok"},
      {"DELETE FROM function_patches", refused},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(db(), c.sql), c.outcome) << c.sql;
}

TEST_F(FunctionsServerTest, PatchesBelongToExistingFunctionVersions) {
  EXPECT_EQ(outcome(db(), insert_row("function_patches")),
            "23503: insert or update on table \"function_patches\" violates foreign key constraint "
            "\"function_patches_parent_function_version_id_fkey\"");
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(1, 1), insert_row("function_patches")}));
  EXPECT_EQ(outcome(db(), "DELETE FROM functions"),
            "23503: update or delete on table \"functions\" violates foreign key constraint "
            "\"function_patches_parent_function_version_id_fkey\" on table \"function_patches\"");
}

TEST_F(FunctionsServerTest, PatchesNameTheirDefiningUser) {
  ASSERT_NO_FATAL_FAILURE(
      run_texts(db(), {function_version(1, 1), insert_row("function_patches", {{"defined_by_id", "'gone'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, defined_by FROM function_patches__with_names"), Rows{"1|[gone]"});
}

TEST_F(FunctionsServerTest, VersionsAndPatchesListedTogether) {
  // The patch of version 1 takes name and enabled flag from version 1, not
  // from the open version 2.
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {function_version(1, 1, {{"name", "'first'"}, {"enabled", "false"}}),
             function_version(2, 2, {{"name", "'second'"}}),
             insert_row("function_patches", {{"id", "7"}, {"valid_from", "'2024-01-05'"}, {"snippet", "'patched'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, name, enabled, snippet, collection, defined_by, patch_of "
                             "FROM function_versions__with_names ORDER BY id"),
            (Rows{"1|first|f||collection1|system|NULL", "2|second|t||collection1|system|NULL",
                  "7|first|f|patched|collection1|system|1"}));
}

TEST_F(FunctionsServerTest, APatchIsListedBesideAVersionItDuplicates) {
  // Same id and columns as its function version: UNION ALL keeps both rows.
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {function_version(1, 1), insert_row("function_patches")}));
  EXPECT_EQ(query_rows(db(), "SELECT id, name, patch_of FROM function_versions__with_names ORDER BY patch_of"),
            (Rows{"1|function1|1", "1|function1|NULL"}));
}

}  // namespace
}  // namespace schema::current

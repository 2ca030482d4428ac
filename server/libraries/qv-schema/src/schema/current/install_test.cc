// The current schema installed on a real server through the install batch:
// what it leaves in the home schema, and the derived objects' drop-and-create
// cycle that every migration runs.

#include <gtest/gtest.h>

#include "schema/current/source.h"
#include "test_support/installed_schema.h"

namespace schema::current {
namespace {

using ::test_support::query_value;
using test_support::InstalledSchemaFixture;

class InstallTest : public InstalledSchemaFixture {};

TEST_F(InstallTest, LeavesEveryObjectInTheHomeSchemaAndNothingInPublic) {
  struct Case {
    const char* what;
    const char* sql;
    const char* count;
  };
  const Case cases[] = {
      {"tables", "SELECT count(*) FROM pg_tables WHERE schemaname = 'qv_apiserver'", "27"},
      {"views", "SELECT count(*) FROM pg_views WHERE schemaname = 'qv_apiserver'", "29"},
      {"statistics", "SELECT count(*) FROM pg_statistic_ext s JOIN pg_namespace n ON n.oid = s.stxnamespace "
                     "WHERE n.nspname = 'qv_apiserver'", "1"},
      {"policies", "SELECT count(*) FROM pg_policies WHERE schemaname = 'qv_apiserver'", "38"},
      {"tables with forced row-level security",
       "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
       "WHERE n.nspname = 'qv_apiserver' AND c.relrowsecurity AND c.relforcerowsecurity", "19"},
      {"objects in public", "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                            "WHERE n.nspname = 'public'", "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(query_value(db(), c.sql), c.count) << c.what;
}

TEST_F(InstallTest, DerivedObjectsSurviveAFullDropAndCreateCycle) {
  const source::DerivedScripts scripts = source::derived_scripts(Source());
  test_support::run_texts(db(), scripts.drops);
  test_support::run_texts(db(), scripts.drops);  // every drop tolerates absence
  test_support::run_texts(db(), scripts.creates);
  EXPECT_EQ(query_value(db(), "SELECT count(*) FROM pg_views WHERE schemaname = 'qv_apiserver'"), "29");
}

}  // namespace
}  // namespace schema::current

// Row-level security of the project-scoped tables, seen from a serving role
// (neither superuser nor BYPASSRLS): the session's "app.project_id" selects the
// one project whose rows it reads and writes; members of "qv_across_projects"
// see every project.

#include <gtest/gtest.h>

#include "test_support/catalog_rows.h"
#include "test_support/installed_schema.h"
#include "test_support/serving_role.h"
#include "test_support/sql_outcome.h"

namespace schema::current {
namespace {

using test_support::insert_row;
using test_support::outcome;
using test_support::query_rows;
using test_support::run_texts;
using Rows = std::vector<std::string>;

constexpr const char* kPassword = "serving-password";

// Two projects, each with a group and a collection, inserted by the superuser.
class RowLevelSecurityServerTest : public test_support::InstalledSchemaFixture {
 protected:
  void SetUp() override {
    InstalledSchemaFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    for (const std::string project : {"p1", "p2"}) {
      const std::string group = "'g" + project + "'";
      run_texts(db(), {insert_row("projects", {{"id", "'" + project + "'"}, {"name", "'" + project + "'"}}),
                       insert_row("groups", {{"id", group}, {"project_id", "'" + project + "'"}}),
                       insert_row("collections", {{"id", "'c" + project + "'"},
                                                  {"project_id", "'" + project + "'"},
                                                  {"group_id", group}})});
    }
  }

  // A session of a new serving role; `options` adds server settings such as
  // "-capp.project_id=p1".
  qv_common::Result<connection::Connection, connection::Error> serving_session(const std::string& suffix,
                                                                               const std::string& options = "") {
    const std::string role = role_name(suffix);
    test_support::create_serving_role(db(), role, kPassword);
    return connection::connect(conninfo_with(
        {{"user", role}, {"password", kPassword}, {"options", "-csearch_path=qv_apiserver " + options}}));
  }
};

TEST_F(RowLevelSecurityServerTest, WithoutAProjectNoProjectRowIsVisible) {
  auto session = serving_session("serving");
  ASSERT_TRUE(session) << connection::describe(session.error());
  for (const char* table : {"groups", "collections", "collections_resolved", "collections__with_names"}) {
    EXPECT_EQ(query_rows(*session, std::string("SELECT count(*) FROM ") + table), Rows{"0"}) << table;
  }
  // Projects are not project-scoped.
  EXPECT_EQ(query_rows(*session, "SELECT count(*) FROM projects"), Rows{"2"});
}

TEST_F(RowLevelSecurityServerTest, AProjectSeesItsOwnRowsOnly) {
  auto session = serving_session("serving");
  ASSERT_TRUE(session) << connection::describe(session.error());
  for (const std::string project : {"p1", "p2"}) {
    SCOPED_TRACE(project);
    ASSERT_EQ(outcome(*session, "SELECT set_config('app.project_id', '" + project + "', false)"), "ok");
    EXPECT_EQ(query_rows(*session, "SELECT id, project_id FROM groups"), Rows{"g" + project + "|" + project});
    EXPECT_EQ(query_rows(*session, "SELECT id, project FROM collections__with_names"),
              Rows{"c" + project + "|" + project});
  }
}

TEST_F(RowLevelSecurityServerTest, NewRowsTakeTheSessionsProject) {
  auto session = serving_session("serving", "-capp.project_id=p1");
  ASSERT_TRUE(session) << connection::describe(session.error());
  EXPECT_EQ(outcome(*session, "INSERT INTO groups (id, name, description, created_on, created_by_id, modified_on, "
                             "modified_by_id, system, kind) VALUES ('g3', 'group3', '', now(), 'u', now(), 'u', "
                             "false, 'user')"),
            "ok");
  EXPECT_EQ(query_rows(db(), "SELECT project_id FROM groups WHERE id = 'g3'"), Rows{"p1"});
}

TEST_F(RowLevelSecurityServerTest, RowsOfAnotherProjectCannotBeWritten) {
  auto session = serving_session("serving", "-capp.project_id=p1");
  ASSERT_TRUE(session) << connection::describe(session.error());
  const char* const refused = "42501: new row violates row-level security policy for table \"groups\"";
  EXPECT_EQ(outcome(*session, insert_row("groups", {{"id", "'g3'"}, {"project_id", "'p2'"}})), refused);
  EXPECT_EQ(outcome(*session, "UPDATE groups SET project_id = 'p2' WHERE id = 'gp1'"), refused);
  // Rows of the other project are not there to update or delete.
  EXPECT_EQ(outcome(*session, "UPDATE groups SET name = 'renamed' WHERE id = 'gp2'"), "ok");
  EXPECT_EQ(outcome(*session, "DELETE FROM groups WHERE id = 'gp2'"), "ok");
  EXPECT_EQ(query_rows(db(), "SELECT name FROM groups WHERE id = 'gp2'"), Rows{"group1"});
}

TEST_F(RowLevelSecurityServerTest, WithoutAProjectNoRowCanBeWritten) {
  auto session = serving_session("serving");
  ASSERT_TRUE(session) << connection::describe(session.error());
  const char* const refused = "42501: new row violates row-level security policy for table \"groups\"";
  EXPECT_EQ(outcome(*session, insert_row("groups", {{"id", "'g3'"}, {"project_id", "DEFAULT"}})), refused);
  EXPECT_EQ(outcome(*session, insert_row("groups", {{"id", "'g3'"}})), refused);
}

TEST_F(RowLevelSecurityServerTest, MembersOfAcrossProjectsSeeEveryProject) {
  auto session = serving_session("across", "-capp.project_id=p1");
  ASSERT_TRUE(session) << connection::describe(session.error());
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {"GRANT qv_across_projects TO " + role_name("across")}));
  EXPECT_EQ(query_rows(*session, "SELECT id FROM groups ORDER BY id"), (Rows{"gp1", "gp2"}));
  EXPECT_EQ(query_rows(*session, "SELECT id, project FROM collections__with_names ORDER BY id"),
            (Rows{"cp1|p1", "cp2|p2"}));
  EXPECT_EQ(outcome(*session, insert_row("groups", {{"id", "'g3'"}, {"project_id", "'p2'"}, {"name", "'group3'"}})),
            "ok");
}

}  // namespace
}  // namespace schema::current

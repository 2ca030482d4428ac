// Projects, groups, connections and collections on the installed schema:
// soft deletion (unique live names, the resolved and active views), ids
// unique across projects, the collections' effective base path and names,
// and the RESTRICT of groups and connections.

#include <gtest/gtest.h>

#include "test_support/catalog_rows.h"
#include "test_support/installed_schema.h"
#include "test_support/serving_role.h"
#include "test_support/sql_outcome.h"

namespace schema::current {
namespace {

using test_support::collection_chain;
using test_support::insert_row;
using test_support::outcome;
using test_support::query_rows;
using test_support::run_texts;
using Rows = std::vector<std::string>;

class ProjectsServerTest : public test_support::InstalledSchemaFixture {};

struct InsertCase {
  const char* what;
  const char* table;
  test_support::Values values;
  const char* outcome;
};

void expect_outcomes(connection::Connection& session, const std::vector<InsertCase>& cases) {
  for (const InsertCase& c : cases) EXPECT_EQ(outcome(session, insert_row(c.table, c.values)), c.outcome) << c.what;
}

TEST_F(ProjectsServerTest, LiveProjectNamesAreUnique) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("projects")}));
  expect_outcomes(db(), {
                            {"a live project of the same name", "projects", {{"id", "'p2'"}},
                             "23505: duplicate key value violates unique constraint \"projects___name___live_uidx\""},
                            {"a deleted project of the same name", "projects",
                             {{"id", "'p3'"}, {"name_when_deleted", "'project1'"}}, "ok"},
                        });
}

TEST_F(ProjectsServerTest, DeletedProjectsAreResolvedButNotActive) {
  ASSERT_NO_FATAL_FAILURE(
      run_texts(db(), {insert_row("projects", {{"name", "'p1 deleted'"}, {"name_when_deleted", "'project1'"}}),
                       insert_row("projects", {{"id", "'p2'"}, {"name", "'project2'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, name, name_when_deleted, deleted FROM projects_resolved ORDER BY id"),
            (Rows{"p1|project1|project1|t", "p2|project2|NULL|f"}));
  EXPECT_EQ(query_rows(db(), "SELECT id, name FROM projects_active"), Rows{"p2|project2"});
  EXPECT_EQ(query_rows(db(), "SELECT id, name FROM projects__with_names"), Rows{"p2|project2"});
}

TEST_F(ProjectsServerTest, ProjectsNameTheirCreatorAndModifier) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("projects", {{"modified_by_id", "'gone'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT created_by, modified_by FROM projects__with_names"), Rows{"system|[gone]"});
}

TEST_F(ProjectsServerTest, GroupNamesAreUniqueWithinAProjectAndIdsAcrossProjects) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("groups")}));
  expect_outcomes(
      db(), {
                {"same project, same name", "groups", {{"id", "'g2'"}},
                 "23505: duplicate key value violates unique constraint \"groups___project_id__name___uidx\""},
                {"another project, same name", "groups", {{"id", "'g2'"}, {"project_id", "'p2'"}}, "ok"},
                {"another project, same id", "groups", {{"project_id", "'p3'"}},
                 "23505: duplicate key value violates unique constraint \"groups_pkey\""},
            });
}

TEST_F(ProjectsServerTest, GroupsNameTheirCreatorAndModifier) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("groups", {{"created_by_id", "'gone'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT name, created_by, modified_by, kind FROM groups__with_names"),
            Rows{"group1|[gone]|system|user"});
}

TEST_F(ProjectsServerTest, ConnectionIdsAreUniqueAcrossProjects) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("connections")}));
  EXPECT_EQ(outcome(db(), insert_row("connections", {{"project_id", "'p2'"}})),
            "23505: duplicate key value violates unique constraint \"connections_pkey\"");
}

TEST_F(ProjectsServerTest, LiveCollectionNamesAreUniqueWithinAProject) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), collection_chain()));
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("groups", {{"id", "'g2'"}, {"project_id", "'p2'"}})}));
  expect_outcomes(
      db(), {
                {"same project, same name", "collections", {{"id", "'c2'"}},
                 "23505: duplicate key value violates unique constraint "
                 "\"collections___project_id__name___live_uidx\""},
                {"same project, same name, deleted", "collections",
                 {{"id", "'c2'"}, {"name_when_deleted", "'collection1'"}}, "ok"},
                {"another project, same name", "collections",
                 {{"id", "'c3'"}, {"project_id", "'p2'"}, {"group_id", "'g2'"}}, "ok"},
            });
}

TEST_F(ProjectsServerTest, CollectionsFallBackOnTheirProjectsBasePath) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), collection_chain()));
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {insert_row("collections", {{"id", "'c2'"}, {"name", "'collection2'"}, {"base_path", "'/own'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, base_path, effective_base_path FROM collections_active ORDER BY id"),
            (Rows{"c1|NULL|/p1", "c2|/own|/own"}));
}

TEST_F(ProjectsServerTest, DeletedCollectionsAreResolvedButNotActive) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), collection_chain()));
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {insert_row("collections", {{"id", "'c2'"}, {"name", "'c2 deleted'"}, {"name_when_deleted", "'old'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, name, deleted FROM collections_resolved ORDER BY id"),
            (Rows{"c1|collection1|f", "c2|old|t"}));
  EXPECT_EQ(query_rows(db(), "SELECT id FROM collections_active"), Rows{"c1"});
  EXPECT_EQ(query_rows(db(), "SELECT id FROM collections__with_names"), Rows{"c1"});
}

TEST_F(ProjectsServerTest, CollectionsNameTheirUsersGroupAndResolvedProject) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), collection_chain()));
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {insert_row("collections", {{"id", "'c2'"},
                                        {"name", "'collection2'"},
                                        {"created_by_id", "'gone'"},
                                        {"modified_by_id", "'00000000000000000000000004'"}}),
             "UPDATE projects SET name_when_deleted = name"}));
  EXPECT_EQ(query_rows(db(), "SELECT id, created_by, modified_by, \"group\", project FROM collections__with_names "
                             "ORDER BY id"),
            (Rows{"c1|system|system|group1|project1", "c2|[gone]|admin|group1|project1"}));
}

TEST_F(ProjectsServerTest, CollectionsShowNoGroupTheSessionCannotSee) {
  // The foreign key keeps the group's row; row-level security can hide it, as
  // for a collection that names a group of another project.
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), collection_chain()));
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("groups", {{"id", "'g2'"}, {"project_id", "'p2'"}}),
                                           insert_row("collections", {{"id", "'c2'"}, {"name", "'collection2'"},
                                                                      {"group_id", "'g2'"}})}));
  const std::string role = role_name("serving");
  ASSERT_NO_FATAL_FAILURE(test_support::create_serving_role(db(), role, "serving-password"));
  auto session = connection::connect(conninfo_with({{"user", role},
                                                    {"password", "serving-password"},
                                                    {"options", "-csearch_path=qv_apiserver -capp.project_id=p1"}}));
  ASSERT_TRUE(session) << connection::describe(session.error());
  EXPECT_EQ(query_rows(*session, "SELECT id, \"group\" FROM collections__with_names ORDER BY id"),
            (Rows{"c1|group1", "c2|NULL"}));
}

TEST_F(ProjectsServerTest, GroupsAndConnectionsOfCollectionsCannotBeDeleted) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("projects"), insert_row("groups"), insert_row("connections"),
                                           insert_row("collections", {{"connection_id", "'k1'"}})}));
  struct Case {
    const char* sql;
    const char* outcome;
  };
  const Case cases[] = {
      {"DELETE FROM groups",
       "23503: update or delete on table \"groups\" violates foreign key constraint \"collections_group_id_fkey\" "
       "on table \"collections\""},
      {"DELETE FROM connections",
       "23503: update or delete on table \"connections\" violates foreign key constraint "
       "\"collections_connection_id_fkey\" on table \"collections\""},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(db(), c.sql), c.outcome) << c.sql;
}

}  // namespace
}  // namespace schema::current

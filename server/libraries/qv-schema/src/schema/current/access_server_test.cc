// Roles, the bindings of users to roles and the permissions of roles on the
// installed schema: the built-in rows, the unique indexes, the RESTRICT of
// roles, users and projects, and the views with names.

#include <gtest/gtest.h>

#include "schema/current/permissions.h"
#include "schema/current/users_roles.h"
#include "schema/render.h"
#include "test_support/catalog_rows.h"
#include "test_support/installed_schema.h"
#include "test_support/sql_outcome.h"

namespace schema::current {
namespace {

using test_support::insert_row;
using test_support::outcome;
using test_support::query_rows;
using test_support::run_texts;
using Rows = std::vector<std::string>;

class AccessServerTest : public test_support::InstalledSchemaFixture {};

template <typename Defs>
std::vector<std::string> seed_texts() {
  std::vector<std::string> texts;
  for (sqlbuilder::Insert insert : Defs().seeds()) texts.push_back(render::render_query(std::move(insert)));
  return texts;
}

TEST_F(AccessServerTest, SeedsThreeFixedRolesWithoutAProject) {
  EXPECT_EQ(query_rows(db(), "SELECT id, name, kind, description, project_id, fixed, created_by, modified_by "
                             "FROM roles__with_names ORDER BY id"),
            (Rows{"00000000000000000000000008|sys_admin|sys_admin|System Administrator Role|NULL|t|system|system",
                  "0000000000000000000000000g|default|default|Default Role|NULL|t|system|system",
                  "0000000000000000000000020o|project_creator|project_creator|Project Creator Role|NULL|t|system|"
                  "system"}));
}

TEST_F(AccessServerTest, RoleNamesAreUnique) {
  EXPECT_EQ(outcome(db(), insert_row("roles", {{"name", "'sys_admin'"}})),
            "23505: duplicate key value violates unique constraint \"roles___name___uidx\"");
}

TEST_F(AccessServerTest, AProjectThatARoleRefersToCannotBeDeleted) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("projects"), insert_row("roles", {{"project_id", "'p1'"}})}));
  EXPECT_EQ(outcome(db(), "DELETE FROM projects"),
            "23503: update or delete on table \"projects\" violates foreign key constraint \"roles_project_id_fkey\" "
            "on table \"roles\"");
}

TEST_F(AccessServerTest, TheAdministratorHoldsSysAdminAndDefault) {
  EXPECT_EQ(query_rows(db(), "SELECT id, user_id, \"user\", role, added_by, fixed FROM users_roles__with_names "
                             "ORDER BY id"),
            (Rows{"0000000000000000000000000k|00000000000000000000000004|admin|sys_admin|system|t",
                  "0000000000000000000000000o|00000000000000000000000004|admin|default|system|t"}));
}

TEST_F(AccessServerTest, BindingsShowAMissingAddingUserAsItsIdInBrackets) {
  // User and role are foreign keys; the adding user is not.
  ASSERT_NO_FATAL_FAILURE(
      run_texts(db(), {insert_row("roles"), insert_row("users_roles", {{"added_by_id", "'gone'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT \"user\", role, added_by FROM users_roles__with_names WHERE id = 'ur1'"),
            (Rows{"admin|role1|[gone]"}));
}

TEST_F(AccessServerTest, BindingsSeedNothingWithoutAnAdministrator) {
  ASSERT_NO_FATAL_FAILURE(
      run_texts(db(), {"DELETE FROM users_roles", "UPDATE users SET name = 'root' WHERE name = 'admin'"}));
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), seed_texts<users_roles::Defs>()));
  EXPECT_EQ(query_rows(db(), "SELECT count(*) FROM users_roles"), Rows{"0"});
}

TEST_F(AccessServerTest, AUserIsBoundToARoleOnce) {
  EXPECT_EQ(outcome(db(), insert_row("users_roles", {{"role_id", "'00000000000000000000000008'"}})),
            "23505: duplicate key value violates unique constraint \"roles___user_id__role_id___idx\"");
}

TEST_F(AccessServerTest, BoundUsersAndRolesCannotBeDeleted) {
  struct Case {
    const char* sql;
    const char* outcome;
  };
  const Case cases[] = {
      {"DELETE FROM users WHERE name = 'admin'",
       "23503: update or delete on table \"users\" violates foreign key constraint \"users_roles_user_id_fkey\" "
       "on table \"users_roles\""},
      {"DELETE FROM roles WHERE name = 'default'",
       "23503: update or delete on table \"roles\" violates foreign key constraint \"users_roles_role_id_fkey\" "
       "on table \"users_roles\""},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(db(), c.sql), c.outcome) << c.sql;
}

TEST_F(AccessServerTest, SeedsSixPermissionsOfTheBuiltInRoles) {
  EXPECT_EQ(query_rows(db(), "SELECT id, role, permission_type, entity_type, entity_id, entity, granted_by, fixed "
                             "FROM permissions__with_names ORDER BY id"),
            (Rows{"00000000000000000000000010|sys_admin|manage_access|system|NULL|NULL|system|t",
                  "00000000000000000000000014|sys_admin|create_projects|system|NULL|NULL|system|t",
                  "00000000000000000000000100|sys_admin|manage_roles|system|NULL|NULL|system|t",
                  "00000000000000000000000104|sys_admin|manage_project|project|NULL|NULL|system|t",
                  "00000000000000000000000108|default|create_projects|system|NULL|NULL|system|f",
                  "0000000000000000000000020s|project_creator|create_projects|system|NULL|NULL|system|t"}));
  EXPECT_EQ(query_rows(db(), "SELECT DISTINCT entity_id FROM permissions"), Rows{"00000000000000000000000204"});
}

TEST_F(AccessServerTest, PermissionsSeedNothingForAMissingRole) {
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {"DELETE FROM permissions", "UPDATE roles SET name = name || '_renamed' WHERE name <> 'default'"}));
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), seed_texts<permissions::Defs>()));
  EXPECT_EQ(query_rows(db(), "SELECT id FROM permissions"), Rows{"00000000000000000000000108"});
}

TEST_F(AccessServerTest, PermissionsOnAProjectShowItsIdAndName) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("projects"), insert_row("roles"), insert_row("permissions")}));
  EXPECT_EQ(query_rows(db(), "SELECT entity_id, entity, role FROM permissions__with_names WHERE id = 'pm1'"),
            Rows{"p1|project1|role1"});
}

TEST_F(AccessServerTest, APermissionIsGrantedOnce) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("roles"), insert_row("permissions")}));
  EXPECT_EQ(outcome(db(), insert_row("permissions", {{"id", "'pm2'"}})),
            "23505: duplicate key value violates unique constraint "
            "\"permissions___role_id__permission_type__entity___idx\"");
  EXPECT_EQ(outcome(db(), insert_row("permissions", {{"id", "'pm2'"}, {"entity_id", "'p2'"}})), "ok");
}

TEST_F(AccessServerTest, ARoleWithPermissionsCannotBeDeleted) {
  EXPECT_EQ(outcome(db(), "DELETE FROM roles WHERE name = 'project_creator'"),
            "23503: update or delete on table \"roles\" violates foreign key constraint \"permissions_role_id_fkey\" "
            "on table \"permissions\"");
}

}  // namespace
}  // namespace schema::current

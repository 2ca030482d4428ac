#include "config/name.h"

#include <gtest/gtest.h>

#include <string>

#include "components/admin_pool.h"
#include "components/provision.h"
#include "config/schema.h"

namespace config::name {
namespace {

TEST(CheckedName, AcceptsPlainLowerCaseIdentifiersOnly) {
  struct {
    std::string name;
    bool valid;
  } cases[] = {
      {"qv_apiserver", true},
      {"_x", true},
      {"a", true},
      {"a" + std::string(62, '9'), true},
      {"a" + std::string(63, '9'), false},
      {"", false},
      {"9lives", false},
      {"Upper", false},
      {"pg_owner", false},
      {"pg", true},
      {"x\", PUBLIC --", false},
      {"o'hara", false},
      {"with space", false},
      {"dollar$", false},
      {"é", false},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.name);
    EXPECT_EQ(checked_name("owner", test_case.name).has_value(), test_case.valid);
  }
}

TEST(CheckedName, RefusalNamesTheField) {
  EXPECT_EQ(schema::Schema::parse("Bad").error(),
            "schema: 'Bad' is not a valid name (a lower-case letter or underscore, then up to 62 lower-case "
            "letters, digits or underscores; not beginning with pg_)");
  EXPECT_TRUE(components::admin_pool::RlsRoles::parse("x\", PUBLIC --", "ok").error().starts_with("in_project: "));
  EXPECT_TRUE(components::admin_pool::RlsRoles::parse("ok", "pg_all").error().starts_with("across_projects: "));
}

// In role lists "public" stands for every role and "none" for none: a grant
// to one of them is not a grant to a role of that name.
TEST(CheckedRoleName, RefusesTheNamesPostgreSqlReservesForEveryRoleField) {
  const std::string reserved =
      "' is reserved by PostgreSQL, where it stands for every role or for none; name a role "
      "of its own";
  auto home = schema::Schema::parse("qv_apiserver").value();
  auto roles = components::admin_pool::RlsRoles::parse("qv_reader", "qv_everywhere").value();
  using components::provision::ProvisionRequest;
  for (const std::string name : {"public", "none"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(checked_role_name("owner", name).error(), "owner: '" + name + reserved);
    EXPECT_EQ(ProvisionRequest::make(home, name, "pw", roles).error(), "owner: '" + name + reserved);
    EXPECT_EQ(components::admin_pool::RlsRoles::parse(name, "qv_everywhere").error(),
              "in_project: '" + name + reserved);
    EXPECT_EQ(components::admin_pool::RlsRoles::parse("qv_reader", name).error(),
              "across_projects: '" + name + reserved);
  }
  EXPECT_TRUE(checked_role_name("owner", "publicity").has_value());
  EXPECT_TRUE(checked_role_name("owner", "Public").error().ends_with("not beginning with pg_)"));
  // A schema may be named public; provisioning refuses it for its owner.
  EXPECT_TRUE(schema::Schema::parse("public").has_value());
}

TEST(RoleLayout, EveryRoleHasANameOfItsOwnAndNoneIsTheGroupRole) {
  const std::string group =
      "'qv_across_projects' is the cross-project group role, which provisioning manages; name a role of its own";
  const std::string own = "; each role needs a name of its own";
  struct {
    std::string owner;
    std::string in_project;
    std::string across_projects;
    std::string refusal;
  } cases[] = {
      {"qv_owner", "qv_reader", "qv_reader", "across_projects: 'qv_reader' is already the in_project role" + own},
      {"qv_reader", "qv_reader", "qv_everywhere", "owner: 'qv_reader' is already the in_project role" + own},
      {"qv_everywhere", "qv_reader", "qv_everywhere",
       "owner: 'qv_everywhere' is already the across_projects role" + own},
      {"qv_owner", "qv_across_projects", "qv_everywhere", "in_project: " + group},
      {"qv_owner", "qv_reader", "qv_across_projects", "across_projects: " + group},
      {"qv_across_projects", "qv_reader", "qv_everywhere", "owner: " + group},
      {"qv_owner", "qv_reader", "qv_everywhere", ""},
  };
  auto home = schema::Schema::parse("qv_apiserver").value();
  using components::provision::ProvisionRequest;
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.owner + " " + test_case.in_project + " " + test_case.across_projects);
    auto roles = components::admin_pool::RlsRoles::parse(test_case.in_project, test_case.across_projects);
    auto request = roles ? ProvisionRequest::make(home, test_case.owner, "pw", *roles) : qv_common::fail(roles.error());
    EXPECT_EQ(request ? "" : request.error(), test_case.refusal);
  }
}

TEST(ProvisionRequest, RefusesABadOwnerAndAnEmptyPassword) {
  auto home = schema::Schema::parse("qv_apiserver").value();
  auto roles = components::admin_pool::RlsRoles::parse("qv_reader", "qv_everywhere").value();
  using components::provision::ProvisionRequest;
  EXPECT_TRUE(ProvisionRequest::make(home, "owner'; DROP", "pw", roles).error().starts_with("owner: "));
  EXPECT_EQ(ProvisionRequest::make(home, "qv_owner", "", roles).error(), "owner_password: must not be empty");
  EXPECT_TRUE(ProvisionRequest::make(home, "qv_owner", "pw", roles).has_value());
}

}  // namespace
}  // namespace config::name

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

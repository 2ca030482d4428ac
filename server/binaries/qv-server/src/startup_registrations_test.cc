// This test program is linked as the program is: what it finds in the
// registries was registered before main by the program's own link.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "components/apiserver.h"
#include "components/component.h"
#include "dao_registry/registered_dao.h"

namespace {

TEST(StartupRegistrations, ProjectionRegistryHoldsEveryRecordLastRegisteredFirst) {
  const char* const registration_order[] = {
      "collections_active",
      "collections_resolved",
      "collections__with_names",
      "collections",
      "connections",
      "dependencies",
      "dependencies__with_names",
      "permissions",
      "permissions__with_names",
      "transactions__with_names",
      "transactions",
      "metrics_facts",
      "service_tokens",
      "service_tokens__with_names",
      "physical_function_runs",
      "physical_function_runs__with_names",
      "physical_table_data_versions",
      "physical_table_data_versions__with_names",
      "physical_table_data_versions__with_function",
      "sessions",
      "sessions__with_names",
      "roles",
      "roles__with_names",
      "users",
      "users__with_names",
      "groups__with_names",
      "groups",
      "tables",
      "tables__with_names",
      "bundles",
      "workers__with_names",
      "workers",
      "logical_function_runs",
      "function_runs__with_names",
      "logical_table_data_versions",
      "logical_table_data_versions__active",
      "table_data_versions__with_names",
      "logical_function_run_inputs",
      "projects_active",
      "projects_resolved",
      "projects__with_names",
      "triggers",
      "triggers__with_names",
      "functions",
      "function_patches",
      "function_patches__with_names",
      "functions__with_names",
      "function_versions__with_names",
      "executions",
      "executions__with_names",
      "users_roles",
      "users_roles__with_names",
  };
  const dao_registry::DaoRegistry& registry = dao_registry::registry();
  EXPECT_EQ(std::distance(registry.begin(), registry.end()), 52);

  std::vector<std::string> walked;
  for (const dao_registry::DaoProjection& projection : dao_registry::registered_projections()) {
    walked.push_back(projection.table);
  }
  std::reverse(walked.begin(), walked.end());
  EXPECT_THAT(walked, testing::ElementsAreArray(registration_order));
}

TEST(StartupRegistrations, ComponentRegistryHoldsTheApiserverComponentAlone) {
  const components::component::ComponentRegistry& registry = components::component::registry();
  ASSERT_EQ(std::distance(registry.begin(), registry.end()), 1);
  const components::component::SchemaComponent* component = (*registry.begin()).component;
  EXPECT_EQ(component, &components::apiserver::kApiserverComponent);
  EXPECT_EQ(component->key(), "apiserver");
}

}  // namespace

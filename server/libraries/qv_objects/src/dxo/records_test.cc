#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

#include "dao_registry/dao_projection.h"
#include "dao_registry/registered_dao.h"
#include "dxo/collection.h"
#include "dxo/function.h"
#include "dxo/permission.h"

namespace dxo {
namespace {

using dao_registry::dao_projection;
using dao_registry::DaoProjection;
using dao_registry::registered_projections;
using dao_registry::registry;
using dao_registry::scoped_dao_projection;

constexpr bool kScoped = true;
constexpr bool kUnscoped = false;

struct Row {
  std::string_view relation;
  std::string_view name;
  bool scoped;
  std::string_view columns;  // separated by spaces
};

// Every record in registration order.
const Row kRows[] = {
    {"collections_active", "Active Collection", kScoped,
     "id project_id name description created_on created_by_id modified_on modified_by_id group_id base_path "
     "effective_base_path collection_type connection_id"},
    {"collections_resolved", "Resolved Collection", kScoped,
     "id project_id name description created_on created_by_id modified_on modified_by_id group_id base_path "
     "effective_base_path collection_type connection_id deleted"},
    {"collections__with_names", "Active Collection", kScoped,
     "id project_id name description created_on created_by_id modified_on modified_by_id group_id base_path "
     "effective_base_path collection_type connection_id project created_by modified_by group"},
    {"collections", "Collection", kScoped,
     "id name description created_on created_by_id modified_on modified_by_id name_when_deleted group_id "
     "base_path collection_type connection_id project_id"},
    {"connections", "Connection", kScoped, "id kind created_on created_by_id modified_on modified_by_id project_id"},
    {"dependencies", "Dependency", kScoped,
     "id collection_id dependency_id function_id table_collection_id table_function_id table_id table_versions "
     "dep_pos defined_by_id system project_id valid_from valid_to"},
    {"dependencies__with_names", "Dependency", kScoped,
     "id collection_id dependency_id function_id table_collection_id table_function_id table_id table_versions "
     "dep_pos defined_by_id system project_id valid_from valid_to collection table_collection"},
    {"permissions", "Permission", kUnscoped,
     "id role_id permission_type entity_type entity_id granted_by_id granted_on fixed"},
    {"permissions__with_names", "Permission", kUnscoped,
     "id role_id permission_type entity_type entity_id granted_by_id granted_on fixed granted_by role entity"},
    {"transactions__with_names", "Transaction", kScoped,
     "id collection_id execution_id transaction_by transaction_key triggered_on triggered_by_id group_id "
     "project_id status started_on ended_on collection execution triggered_by group project "
     "function_run_status_count"},
    {"transactions", "Transaction", kScoped,
     "id collection_id execution_id transaction_by transaction_key triggered_on triggered_by_id group_id "
     "project_id status started_on ended_on"},
    {"metrics_facts", "Metrics Fact", kScoped,
     "ts ts_hour_ms ts_day_ms ts_week_ms ts_month_ms project_id from_group_id from_collection_id group_id "
     "collection_id execution_id transaction_id function_id function_run_id attempt_id attempt_outcome "
     "run_status replay current run_has_inputs run_has_outputs side table_id table_version_id private has_data "
     "row_count data_bytes first_consumed_on edge_kind edge_first edge_first_group"},
    {"service_tokens", "Service Token", kUnscoped,
     "id user_id slot digest hint comment created_on expires_on last_used_on scope system"},
    {"service_tokens__with_names", "Service Token", kUnscoped,
     "id user_id slot digest hint comment created_on expires_on last_used_on scope system user_name user_enabled"},
    {"physical_function_runs", "Physical Function Run", kScoped,
     "id collection_id function_id function_version_id execution_id transaction_id logical_function_run_id "
     "triggered_by_id trigger base_path dispatched_on started_on ended_on status function_version_patch_id "
     "project_id valid_from valid_to"},
    {"physical_function_runs__with_names", "Physical Function Run", kScoped,
     "id collection_id function_id function_version_id execution_id transaction_id logical_function_run_id "
     "triggered_by_id trigger base_path dispatched_on started_on ended_on status function_version_patch_id "
     "project_id valid_from valid_to name collection project connection execution execution_function_version_id "
     "storage_version triggered_by"},
    {"physical_table_data_versions", "Physical Table Data Version", kScoped,
     "id collection_id table_id name table_version_id function_version_id function_version_patch_id execution_id "
     "transaction_id physical_function_run_id logical_table_data_version_id function_param_pos base_path "
     "has_data schema_changed column_count row_count data_bytes schema_hash with_data_table_data_version_id "
     "project_id valid_from valid_to"},
    {"physical_table_data_versions__with_names", "Physical Table Data Version", kScoped,
     "id collection_id table_id name table_version_id function_version_id function_version_patch_id execution_id "
     "transaction_id physical_function_run_id logical_table_data_version_id function_param_pos base_path "
     "has_data schema_changed column_count row_count data_bytes schema_hash with_data_table_data_version_id "
     "project_id valid_from valid_to triggered_by_id started_on ended_on status storage_version collection "
     "function created_by"},
    {"physical_table_data_versions__with_function", "Physical Table Data Version", kScoped,
     "id collection_id table_id name table_version_id function_version_id function_version_patch_id execution_id "
     "transaction_id physical_function_run_id logical_table_data_version_id function_param_pos base_path "
     "has_data schema_changed column_count row_count data_bytes schema_hash with_data_table_data_version_id "
     "project_id valid_from valid_to triggered_by_id started_on ended_on status storage_version"},
    {"sessions", "Session", kUnscoped,
     "access_token_id refresh_token_id user_id created_on expires_on status_change_on status"},
    {"sessions__with_names", "Session", kUnscoped,
     "access_token_id refresh_token_id user_id created_on expires_on status_change_on status user_name"},
    {"roles", "Role", kUnscoped,
     "id name description created_on created_by_id modified_on modified_by_id kind project_id fixed"},
    {"roles__with_names", "Role", kUnscoped,
     "id name description created_on created_by_id modified_on modified_by_id kind project_id fixed created_by "
     "modified_by"},
    {"users", "User", kUnscoped,
     "id name full_name email created_on created_by_id modified_on modified_by_id password_hash password_set_on "
     "password_must_change enabled system"},
    {"users__with_names", "User", kUnscoped,
     "id name full_name email created_on created_by_id modified_on modified_by_id password_hash password_set_on "
     "password_must_change enabled system created_by modified_by"},
    {"groups__with_names", "Group", kScoped,
     "id name description created_on created_by_id modified_on modified_by_id system kind project_id created_by "
     "modified_by"},
    {"groups", "Group", kScoped,
     "id name description created_on created_by_id modified_on modified_by_id system kind project_id"},
    {"tables", "Table", kScoped,
     "id collection_id table_id name function_id function_version_id function_param_pos private partitioned "
     "defined_by_id status table_type parent_table_id project_id valid_from valid_to"},
    {"tables__with_names", "Table", kScoped,
     "id collection_id table_id name function_id function_version_id function_param_pos private partitioned "
     "defined_by_id status table_type parent_table_id project_id valid_from valid_to system defined_by "
     "collection function"},
    {"bundles", "Bundle", kScoped, "id collection_id hash base_path status created_on created_by_id project_id"},
    {"workers__with_names", "Worker", kScoped,
     "id collection_id execution_id transaction_id physical_function_run_id function_version_id started_on "
     "ended_on status worker_type worker_enabled worker_config project_id failures retry_at destination_write_on "
     "logical_function_run_id collection connection_id connection execution function_id function enabled "
     "function_version_patch_id project"},
    {"workers", "Worker", kScoped,
     "id collection_id execution_id transaction_id physical_function_run_id function_version_id started_on "
     "ended_on status worker_type worker_enabled worker_config project_id failures retry_at destination_write_on"},
    {"logical_function_runs", "Logical Function Run", kScoped,
     "id collection_id execution_id transaction_id function_id function_version_id trigger triggered_on "
     "triggered_by_id status group_id project_id recoveries"},
    {"function_runs__with_names", "Function Run", kScoped,
     "id collection_id execution_id transaction_id function_id function_version_id trigger triggered_on "
     "triggered_by_id status group_id project_id recoveries name collection collection_deleted execution "
     "triggered_by group project physical_function_run_id started_on ended_on physical_status "
     "function_version_patch_id"},
    {"logical_table_data_versions", "Logical Table Data Version", kScoped,
     "id collection_id execution_id transaction_id table_id producer_logical_function_run_id function_param_pos "
     "private triggered_on triggered_by_id group_id project_id"},
    {"logical_table_data_versions__active", "Active Logical Table Data Version", kScoped,
     "id collection_id execution_id transaction_id table_id producer_logical_function_run_id function_param_pos "
     "private triggered_on triggered_by_id group_id project_id"},
    {"table_data_versions__with_names", "Table Data Version", kScoped,
     "id collection_id execution_id transaction_id table_id producer_logical_function_run_id function_param_pos "
     "private triggered_on triggered_by_id group_id project_id collection execution triggered_by group "
     "physical_table_data_version_id name table_version_id function_version_id function_version_patch_id "
     "has_data schema_changed column_count row_count data_bytes schema_hash with_data_table_data_version_id "
     "physical_function_run_id started_on ended_on status physical_status function storage_version "
     "parent_table_id"},
    {"logical_function_run_inputs", "Logical Function Run Input", kScoped,
     "id collection_id execution_id transaction_id logical_function_run_id "
     "requirement_logical_table_data_version_id requirement_input_idx requirement_dependency_pos "
     "requirement_version_pos requirement_table_version_id project_id"},
    {"projects_active", "Active Project", kUnscoped,
     "id name description base_path created_on created_by_id modified_on modified_by_id"},
    {"projects_resolved", "Project", kUnscoped,
     "id name description base_path created_on created_by_id modified_on modified_by_id deleted"},
    {"projects__with_names", "Active Project", kUnscoped,
     "id name description base_path created_on created_by_id modified_on modified_by_id created_by modified_by"},
    {"triggers", "Trigger", kScoped,
     "id collection_id trigger_id function_id trigger_by_collection_id trigger_by_function_id "
     "trigger_by_table_id status defined_by_id system project_id valid_from valid_to"},
    {"triggers__with_names", "Trigger", kScoped,
     "id collection_id trigger_id function_id trigger_by_collection_id trigger_by_function_id "
     "trigger_by_table_id status defined_by_id system project_id valid_from valid_to collection "
     "trigger_by_collection"},
    {"functions", "Function", kScoped,
     "id parent_function_id collection_id name description decorator function_type connector connection "
     "runtime_values function_id base_path stage_id stage_base_path storage_version bundle_id snippet "
     "defined_by_id status enabled project_id valid_from valid_to"},
    {"function_patches", "Function Patch", kScoped,
     "id parent_function_version_id function_id collection_id snippet bundle_id runtime_values description "
     "defined_by_id status project_id valid_from valid_to"},
    {"function_patches__with_names", "Function Patch", kScoped,
     "id parent_function_version_id function_id collection_id snippet bundle_id runtime_values description "
     "defined_by_id status project_id valid_from valid_to defined_by"},
    {"functions__with_names", "Function", kScoped,
     "id parent_function_id collection_id name description decorator function_type connector connection "
     "runtime_values function_id base_path stage_id stage_base_path storage_version bundle_id snippet "
     "defined_by_id status enabled project_id valid_from valid_to collection group_id defined_by"},
    {"function_versions__with_names", "Function Version", kScoped,
     "id collection_id name description decorator connector connection runtime_values function_id base_path "
     "stage_id stage_base_path storage_version bundle_id snippet valid_from defined_by_id status enabled "
     "function_type parent_function_id collection defined_by patch_of"},
    {"executions", "Execution", kScoped,
     "id name collection_id function_id function_version_id triggered_on triggered_by_id trigger_type "
     "external_uid recursion_options project_id status started_on ended_on"},
    {"executions__with_names", "Execution", kScoped,
     "id name collection_id function_id function_version_id triggered_on triggered_by_id trigger_type "
     "external_uid recursion_options project_id status started_on ended_on collection collection_deleted "
     "function triggered_by project function_run_status_count"},
    {"users_roles", "User Role", kUnscoped, "id user_id role_id added_on added_by_id fixed"},
    {"users_roles__with_names", "User Role", kUnscoped,
     "id user_id role_id added_on added_by_id fixed user role added_by"},
};

std::vector<std::string> split(std::string_view words) {
  std::vector<std::string> result;
  for (const auto word : std::views::split(words, ' ')) result.emplace_back(word.begin(), word.end());
  return result;
}

std::vector<DaoProjection> in_registration_order() {
  std::vector<DaoProjection> projections = registered_projections();
  std::reverse(projections.begin(), projections.end());
  return projections;
}

TEST(DaoRecords, RegistryHoldsEveryRecordInRegistrationOrder) {
  const std::vector<DaoProjection> projections = in_registration_order();
  ASSERT_EQ(projections.size(), std::size(kRows));
  for (std::size_t i = 0; i < projections.size(); ++i) {
    const Row& row = kRows[i];
    SCOPED_TRACE(row.relation);
    EXPECT_EQ(projections[i], (DaoProjection{std::string(row.relation), split(row.columns), row.name, row.scoped}));
  }
  const auto scoped = std::count_if(projections.begin(), projections.end(), [](const auto& p) { return p.scoped; });
  EXPECT_EQ(scoped, 37);
  EXPECT_EQ(projections.size() - scoped, 15u);
}

template <typename Record>
std::vector<std::string> own_columns() {
  return {std::begin(Record::Iden::kColumns), std::end(Record::Iden::kColumns)};
}

TEST(DaoRecords, RecordWithoutBaseYieldsExactlyItsOwnColumns) {
  EXPECT_EQ(scoped_dao_projection<collection::ActiveCollectionDB>().columns,
            own_columns<collection::ActiveCollectionDB>());
  EXPECT_EQ(dao_projection<permission::PermissionDB>().columns, own_columns<permission::PermissionDB>());
  // Flat although they repeat another record's columns.
  EXPECT_EQ(dao_projection<permission::PermissionDBWithNames>().columns,
            own_columns<permission::PermissionDBWithNames>());
  EXPECT_EQ(scoped_dao_projection<function::FunctionVersionDBWithNames>().columns,
            own_columns<function::FunctionVersionDBWithNames>());
}

TEST(DaoRecords, ExtendingRecordTakesBaseColumnsFirstButNotItsTable) {
  const DaoProjection active = scoped_dao_projection<collection::ActiveCollectionDB>();
  const DaoProjection resolved = scoped_dao_projection<collection::ResolvedCollectionDB>();
  std::vector<std::string> expected = active.columns;
  expected.push_back("deleted");
  EXPECT_EQ(resolved.columns, expected);
  EXPECT_EQ(resolved.table, "collections_resolved");
  EXPECT_EQ(resolved.name, "Resolved Collection");
  EXPECT_THAT(resolved.columns, testing::Not(testing::Contains(active.table)));
}

TEST(DaoRecords, EachCallBuildsAnEqualIndependentProjection) {
  ASSERT_NE(registry().begin(), registry().end());
  const dao_registry::RegisteredDao& entry = *registry().begin();
  DaoProjection first = entry.projection();
  const DaoProjection second = entry.projection();
  EXPECT_EQ(first, second);
  first.table += "_changed";
  first.columns.front() = "changed";
  first.columns.push_back("extra");
  EXPECT_EQ(entry.projection(), second);
}

TEST(DaoRecords, ScopeComesFromTheRegistrationNotFromAProjectColumn) {
  const std::vector<DaoProjection> projections = registered_projections();
  const struct {
    std::string_view table;
    bool scoped;
  } cases[] = {{"roles", kUnscoped}, {"groups", kScoped}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    const auto found =
        std::find_if(projections.begin(), projections.end(), [&](const auto& p) { return p.table == c.table; });
    ASSERT_NE(found, projections.end());
    EXPECT_THAT(found->columns, testing::Contains("project_id"));
    EXPECT_EQ(found->scoped, c.scoped);
  }
}

}  // namespace
}  // namespace dxo

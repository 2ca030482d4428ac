#include "schema/deltas/v3_to_v4.h"

#include <array>
#include <string>
#include <string_view>

#include "schema/deltas/shared.h"
#include "schema/render.h"
#include "schema/sql/rls.h"
#include "schema/sql/trigger.h"
#include "sqlbuilder/template.h"

namespace schema::deltas::v3_to_v4 {

using sqlbuilder::format_template;

namespace {

// A pointer table linked each version of a child to its parent; the link
// moves into the child itself.
struct PointerFamily {
  std::string_view pointer_table;
  std::string_view link;
  std::string_view parent;
  std::string_view own_key;  // the pointer's column naming the child
  std::string_view child;
};

constexpr std::array<PointerFamily, 2> kPointerFamilies = {{
    {"logical_function_run_pointers", "logical_function_run_id", "logical_function_runs", "physical_function_run_id",
     "physical_function_runs"},
    {"logical_table_data_version_pointers", "logical_table_data_version_id", "logical_table_data_versions",
     "physical_table_data_version_id", "physical_table_data_versions"},
}};

// A table whose versions get a validity end: each version ends where the
// next version of the same entity starts.
struct Chain {
  std::string_view table;
  std::string_view partition;
  std::string_view order;
};

constexpr const char* kLinkRunsWithoutPointer = R"sql(UPDATE "physical_function_runs"
SET "logical_function_run_id" = l."id"
FROM "logical_function_runs" AS l
WHERE "physical_function_runs"."logical_function_run_id" IS NULL
  AND l."execution_id" = "physical_function_runs"."execution_id"
  AND l."function_id" = "physical_function_runs"."function_id")sql";

constexpr const char* kLinkVersionsWithoutPointer = R"sql(UPDATE "physical_table_data_versions"
SET "logical_table_data_version_id" = l."id"
FROM "logical_table_data_versions" AS l, "physical_function_runs" AS p
WHERE "physical_table_data_versions"."logical_table_data_version_id" IS NULL
  AND p."id" = "physical_table_data_versions"."physical_function_run_id"
  AND l."producer_logical_function_run_id" = p."logical_function_run_id"
  AND l."table_id" = "physical_table_data_versions"."table_id")sql";

constexpr const char* kChainValidity = R"sql(UPDATE "{}"
SET "valid_to" = COALESCE(n."next_valid_from", 'infinity')
FROM (SELECT "id", LEAD("{}") OVER (PARTITION BY "{}" ORDER BY "{1}", "id") AS "next_valid_from" FROM "{0}") AS n
WHERE "{0}"."id" = n."id")sql";

// Tables that pointed at a deleted function version take the newest version
// of the same function that is not deleted.
constexpr const char* kRepointTables = R"sql(UPDATE "tables"
SET "function_version_id" = (SELECT f."id" FROM "functions" AS f
  WHERE f."function_id" = "tables"."function_id" AND f."status" <> 'D'
  ORDER BY f."defined_on" DESC, f."id" DESC
  LIMIT 1)
WHERE "function_version_id" IN (SELECT "id" FROM "functions" WHERE "status" = 'D'))sql";

// Rows still open for a function whose every version is closed end with
// the function's last version.
constexpr const char* kCloseWithFunction = R"sql(UPDATE "{}"
SET "valid_to" = f."closed_on"
FROM (SELECT "function_id", MAX("valid_to") AS "closed_on" FROM "functions"
      GROUP BY "function_id" HAVING MAX("valid_to") < 'infinity') AS f
WHERE "{0}"."function_id" = f."function_id" AND "{0}"."valid_to" = 'infinity'{})sql";

std::string text(std::string_view view) { return std::string(view); }

void link_children(std::vector<std::string>& up) {
  for (const PointerFamily& family : kPointerFamilies) {
    up.push_back(
        format_template("ALTER TABLE \"{}\" ADD COLUMN \"{}\" text NULL", {text(family.child), text(family.link)}));
    up.push_back(format_template("ALTER TABLE \"{}\" ADD COLUMN \"valid_to\" timestamptz NULL", {text(family.child)}));
    up.push_back(
        format_template("UPDATE \"{}\" SET \"{}\" = e.\"{1}\" FROM \"{}\" AS e WHERE e.\"{}\" = \"{0}\".\"id\"",
                        {text(family.child), text(family.link), text(family.pointer_table), text(family.own_key)}));
  }
  up.push_back(kLinkRunsWithoutPointer);
  up.push_back(kLinkVersionsWithoutPointer);
  for (const PointerFamily& family : kPointerFamilies) {
    up.push_back(format_template("ALTER TABLE \"{}\" ALTER COLUMN \"{}\" SET NOT NULL",
                                 {text(family.child), text(family.link)}));
    up.push_back(format_template(
        "ALTER TABLE \"{}\" ADD FOREIGN KEY (\"{}\") REFERENCES \"{}\" (\"id\") ON DELETE RESTRICT ON UPDATE RESTRICT",
        {text(family.child), text(family.link), text(family.parent)}));
  }
}

void chain_versions(std::vector<std::string>& up) {
  std::vector<Chain> chains;
  for (const shared::VersionedTable& versioned : shared::kVersionedTables) {
    up.push_back(
        format_template("ALTER TABLE \"{}\" ADD COLUMN \"valid_to\" timestamptz NULL", {text(versioned.table)}));
    chains.push_back({versioned.table, versioned.key, versioned.start});
  }
  chains.push_back({"physical_function_runs", "logical_function_run_id", "triggered_on"});
  chains.push_back({"physical_table_data_versions", "logical_table_data_version_id", "triggered_on"});
  for (const Chain& chain : chains) {
    up.push_back(format_template(kChainValidity, {text(chain.table), text(chain.order), text(chain.partition)}));
    up.push_back(format_template("ALTER TABLE \"{}\" ALTER COLUMN \"valid_to\" SET NOT NULL", {text(chain.table)}));
  }
}

void remove_deleted(std::vector<std::string>& up) {
  up.push_back(kRepointTables);
  for (const char* table : {"dependencies", "triggers", "tables", "functions"}) {
    up.push_back(format_template("DELETE FROM \"{}\" WHERE \"status\" = 'D'", {table}));
  }
  up.push_back("ALTER TABLE \"dependencies\" DROP COLUMN \"status\"");
  // Of the tables, only the live state tables of functions end with them.
  const std::pair<const char*, const char*> closings[] = {
      {"tables", R"sql( AND "tables"."status" = 'A' AND "tables"."name" LIKE 'qv.fn\_state\_\_%')sql"},
      {"dependencies", ""},
      {"triggers", ""},
  };
  for (const auto& [table, extra] : closings) up.push_back(format_template(kCloseWithFunction, {table, extra}));
}

void drop_replaced_tables(std::vector<std::string>& up) {
  for (const char* table :
       {"functions_current", "function_patches_current", "tables_current", "dependencies_current", "triggers_current",
        "logical_function_run_pointers_current", "logical_table_data_version_pointers_current",
        "logical_function_run_pointers", "logical_table_data_version_pointers"}) {
    up.push_back(format_template("DROP TABLE \"{}\"", {table}));
  }
}

void rebuild_policies(std::vector<std::string>& up) {
  // Of the tables that had policies, the current-state and pointer tables are
  // gone; the rest are the project-scoped tables.
  for (const std::string_view table : shared::kProjectScopedTables) {
    up.push_back(shared::drop_isolation_policy(table));
    up.push_back(sql::rls::isolation_policy(table));
    up.push_back(sql::rls::across_projects_policy(table));
  }
}

std::vector<std::string> retired() {
  std::vector<std::string> retired;
  for (const char* view : {"dependencies_current__with_names", "functions_current__with_names",
                           "tables_current__with_names", "triggers_current__with_names"}) {
    retired.push_back(format_template("DROP VIEW IF EXISTS {}", {view}));
  }
  for (const shared::VersionedTable& versioned : shared::kVersionedTables) {
    const std::string maintain = text(versioned.table) + "__maintain_current";
    retired.push_back(sql::trigger::drop_trigger(maintain, versioned.table));
    retired.push_back(sql::trigger::drop_trigger_function(maintain));
  }
  for (const PointerFamily& family : kPointerFamilies) {
    const std::string table = text(family.pointer_table);
    retired.push_back(sql::trigger::drop_trigger(table + "__maintain_current", table));
    retired.push_back(sql::trigger::drop_trigger(table + "__immutable_no_update", table));
    retired.push_back(sql::trigger::drop_trigger(table + "__immutable_no_delete", table));
    retired.push_back(sql::trigger::drop_trigger_function(table + "__maintain_current"));
    retired.push_back(sql::trigger::drop_trigger_function(table + "__immutable"));
  }
  shared::append(retired, shared::drop_indexes({
                              "bundles___collection_id___idx",
                              "collections___group_id___idx",
                              "dependencies___table_function_id___idx",
                              "dependencies_current___function_id___idx",
                              "dependencies_current___table_function_id___idx",
                              "executions___collection_id___idx",
                              "executions___function_version_id___idx",
                              "executions___triggered_by_id___idx",
                              "executions___triggered_on___idx",
                              "function_patches___parent_function_version_id__defined_on__id___idx",
                              "function_runs___collection_id___idx",
                              "function_runs___ended_on___idx",
                              "function_runs___execution_id__status___idx",
                              "function_runs___function_version_id___idx",
                              "function_runs___status___idx",
                              "function_runs___transaction_id__status___idx",
                              "functions___collection_id___idx",
                              "functions_current___collection_id___idx",
                              "functions_current___status___idx",
                              "lfr_pointers_current___physical_function_run_id___idx",
                              "logical_function_run_inputs___requirement_logical_table_data_version_id___idx",
                              "logical_function_run_pointers___function_run_id___idx",
                              "logical_function_run_pointers___logical_function_run_id__set_on__id___idx",
                              "logical_function_runs___group_id__collection_id___idx",
                              "logical_function_runs___status___idx",
                              "logical_table_data_version_pointers___logical_table_data_version_id__set_on__id___idx",
                              "logical_table_data_version_pointers___table_data_version_id___idx",
                              "logical_table_data_versions___execution_id___idx",
                              "logical_table_data_versions___group_id___idx",
                              "logical_table_data_versions___producer_logical_function_run_id___idx",
                              "logical_table_data_versions___transaction_id___idx",
                              "permissions___entity_id___idx",
                              "physical_table_data_versions___collection_id___idx",
                              "physical_table_data_versions___execution_id___idx",
                              "physical_table_data_versions___physical_function_run_id___idx",
                              "physical_table_data_versions___table_id___has_data___idx",
                              "physical_table_data_versions___table_id__triggered_on__id___idx",
                              "tables___status___idx",
                              "tables_current___collection_id___idx",
                              "tables_current___function_id___idx",
                              "tables_current___status___idx",
                              "transactions___collection_id___idx",
                              "transactions___group_id__collection_id___idx",
                              "triggers___collection_id___idx",
                              "triggers___trigger_by_function_id___idx",
                              "triggers_current___collection_id___idx",
                              "triggers_current___function_id___idx",
                              "triggers_current___trigger_by_function_id___idx",
                              "users___enabled___idx",
                              "users___system___idx",
                          }));
  return retired;
}

}  // namespace

source::Delta delta() {
  std::vector<std::string> up;
  link_children(up);
  chain_versions(up);
  remove_deleted(up);
  drop_replaced_tables(up);
  rebuild_policies(up);
  up.push_back(render::update_db_version(4));
  return {std::move(up), retired()};
}

}  // namespace schema::deltas::v3_to_v4

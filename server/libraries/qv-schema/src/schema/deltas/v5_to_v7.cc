#include "schema/deltas/v5_to_v7.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "schema/deltas/shared.h"
#include "schema/render.h"
#include "sqlbuilder/template.h"

namespace schema::deltas {

using sqlbuilder::format_template;

namespace {

// A NOT NULL constraint named after the old column follows the rename.
// PostgreSQL before 18 keeps NOT NULL as a column flag, without a named
// constraint, so the rename runs only where the constraint exists.
constexpr const char* kRenameNotNull = R"sql(DO $$
BEGIN
  IF EXISTS (SELECT 1 FROM pg_constraint
             WHERE conrelid = '"{0}"'::regclass AND conname = '{0}_{1}_not_null') THEN
    ALTER TABLE "{0}" RENAME CONSTRAINT "{0}_{1}_not_null" TO "{0}_valid_from_not_null";
  END IF;
END $$)sql";

}  // namespace

namespace v5_to_v6 {

source::Delta delta() {
  std::vector<std::pair<std::string_view, std::string_view>> renames;
  for (const shared::VersionedTable& versioned : shared::kVersionedTables) {
    renames.emplace_back(versioned.table, versioned.start);
  }
  renames.emplace_back("physical_function_runs", "triggered_on");
  renames.emplace_back("physical_table_data_versions", "triggered_on");

  std::vector<std::string> up;
  for (const auto& [table_name, column_name] : renames) {
    const std::string table(table_name);
    const std::string column(column_name);
    up.push_back(format_template("ALTER TABLE \"{}\" RENAME COLUMN \"{}\" TO \"valid_from\"", {table, column}));
    up.push_back(format_template(kRenameNotNull, {table, column}));
  }
  up.push_back(render::update_db_version(6));
  return {std::move(up), shared::drop_indexes({
                             "dependencies___dependency_id__defined_on__id___idx",
                             "function_patches___function_id__defined_on___idx",
                             "function_patches___parent_fv_id__defined_on__id___idx",
                             "functions___function_id__defined_on__id___idx",
                             "pfr___logical_function_run_id__triggered_on__id___idx",
                             "pfr___status__project_id__triggered_on___idx",
                             "ptdv___logical_table_data_version_id__triggered_on__id___idx",
                             "tables___table_id__defined_on__id___idx",
                             "triggers___trigger_id__defined_on__id___idx",
                         })};
}

}  // namespace v5_to_v6

namespace v6_to_v7 {

// The upgrade drops and re-creates every derived object around the steps,
// which is all that version 7 changed.
source::Delta delta() { return {{render::update_db_version(7)}, {}}; }

}  // namespace v6_to_v7
}  // namespace schema::deltas

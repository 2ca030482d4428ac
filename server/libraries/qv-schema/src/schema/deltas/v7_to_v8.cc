#include "schema/deltas/v7_to_v8.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "schema/render.h"
#include "sqlbuilder/template.h"

namespace schema::deltas::v7_to_v8 {

using sqlbuilder::format_template;

namespace {

struct Conversion {
  std::string_view table;
  std::vector<std::string_view> columns;
};

const std::array<Conversion, 12> kConversions = {{
    {"executions", {"id", "function_version_id"}},
    {"function_patches", {"id", "parent_function_version_id"}},
    {"functions", {"id"}},
    {"logical_function_run_inputs",
     {"execution_id", "transaction_id", "logical_function_run_id", "requirement_logical_table_data_version_id"}},
    {"logical_function_runs", {"id", "execution_id", "transaction_id", "function_version_id"}},
    {"logical_table_data_versions", {"id", "execution_id", "transaction_id", "producer_logical_function_run_id"}},
    {"physical_function_runs",
     {"id", "function_version_id", "function_version_patch_id", "execution_id", "transaction_id",
      "logical_function_run_id"}},
    {"physical_table_data_versions",
     {"id", "function_version_id", "function_version_patch_id", "execution_id", "transaction_id",
      "physical_function_run_id", "logical_table_data_version_id", "with_data_table_data_version_id"}},
    {"table_partitions", {"function_version_id", "table_data_version_id"}},
    {"tables", {"function_version_id"}},
    {"transactions", {"id", "execution_id"}},
    {"workers", {"id", "execution_id", "transaction_id", "function_version_id", "physical_function_run_id"}},
}};

// The foreign keys of the converted tables wait here while their columns
// change type. A temporary table: it lives in the upgrade's transaction and
// on its connection only.
constexpr std::string_view kSavedKeys = "qv_v8_foreign_keys";

// Runs without a function version get this placeholder version.
constexpr std::string_view kNoFunctionVersion = "197001010000000001";

constexpr const char* kSaveKeys = R"sql(CREATE TEMP TABLE {} AS
SELECT cls.relname AS table_name, con.conname AS constraint_name, pg_get_constraintdef(con.oid) AS definition
FROM pg_constraint con
JOIN pg_class cls ON cls.oid = con.conrelid
JOIN pg_class ref ON ref.oid = con.confrelid
JOIN pg_namespace ns ON ns.oid = con.connamespace AND ns.nspname = current_schema()
WHERE con.contype = 'f' AND (cls.relname IN ({}) OR ref.relname IN ({1})))sql";

constexpr const char* kDropKeys = R"sql(DO $$
DECLARE fk record;
BEGIN
  FOR fk IN SELECT * FROM {} LOOP
    EXECUTE format('ALTER TABLE %I DROP CONSTRAINT %I', fk.table_name, fk.constraint_name);
  END LOOP;
END $$)sql";

constexpr const char* kRestoreKeys = R"sql(DO $$
DECLARE fk record;
BEGIN
  FOR fk IN SELECT * FROM {} LOOP
    EXECUTE format('ALTER TABLE %I ADD CONSTRAINT %I %s', fk.table_name, fk.constraint_name, fk.definition);
  END LOOP;
END $$)sql";

// Every leading non-digit goes, then every '-'; what is left empty is NULL:
// 'ab-12' gives 12.
constexpr const char* kToBigint = R"sql(NULLIF(replace(regexp_replace("{}", '^[^0-9]+', ''), '-', ''), '')::bigint)sql";

std::string quoted_table_list() {
  std::string list;
  for (const Conversion& conversion : kConversions) {
    if (!list.empty()) list += ", ";
    list += format_template("'{}'", {std::string(conversion.table)});
  }
  return list;
}

std::string conversion(std::string_view table, std::string_view column) {
  std::string expression = format_template(kToBigint, {std::string(column)});
  if (table == "logical_function_runs" && column == "function_version_id") {
    expression = format_template("COALESCE({}, {})", {expression, std::string(kNoFunctionVersion)});
  }
  return format_template("ALTER COLUMN \"{}\" TYPE bigint USING {}", {std::string(column), expression});
}

std::string convert(const Conversion& conversion_row) {
  std::string clauses;
  for (const std::string_view column : conversion_row.columns) {
    if (!clauses.empty()) clauses += ", ";
    clauses += conversion(conversion_row.table, column);
  }
  return format_template("ALTER TABLE \"{}\" {}", {std::string(conversion_row.table), clauses});
}

}  // namespace

source::Delta delta() {
  const std::string saved(kSavedKeys);
  std::vector<std::string> up = {
      format_template(kSaveKeys, {saved, quoted_table_list()}),
      format_template(kDropKeys, {saved}),
      format_template("ALTER TABLE \"{}\" ALTER COLUMN \"{}\" DROP DEFAULT",
                      {"logical_function_runs", "function_version_id"}),
  };
  for (const Conversion& conversion_row : kConversions) up.push_back(convert(conversion_row));
  up.push_back(format_template("ALTER TABLE \"{}\" ALTER COLUMN \"{}\" SET DEFAULT {}",
                               {"logical_function_runs", "function_version_id", std::string(kNoFunctionVersion)}));
  up.push_back(format_template(kRestoreKeys, {saved}));
  up.push_back(format_template("DROP TABLE {}", {saved}));
  up.push_back(render::update_db_version(8));
  return {std::move(up), {}};
}

}  // namespace schema::deltas::v7_to_v8

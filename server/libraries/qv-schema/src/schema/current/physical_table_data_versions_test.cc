#include "schema/current/physical_table_data_versions.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::physical_table_data_versions {
namespace {

using Texts = std::vector<std::string>;

TEST(PhysicalTableDataVersions, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "physical_table_data_versions" ( "id" bigint NOT NULL PRIMARY KEY, "project_id" )sql"
      R"sql(text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", "table_id" text NOT NULL )sql"
      R"sql(COLLATE "C", "name" text NOT NULL, "table_version_id" text NOT NULL COLLATE "C", )sql"
      R"sql("function_version_id" bigint NOT NULL, "function_version_patch_id" bigint NULL, "has_data" )sql"
      R"sql(boolean NULL, "schema_changed" boolean NULL, "column_count" bigint NULL, "row_count" bigint )sql"
      R"sql(NULL, "data_bytes" bigint NULL, "schema_hash" text NULL, "columnar_lineage" text NULL, )sql"
      R"sql("execution_id" bigint NOT NULL, "transaction_id" bigint NOT NULL, "physical_function_run_id" )sql"
      R"sql(bigint NOT NULL, "function_param_pos" integer NOT NULL, "with_data_table_data_version_id" )sql"
      R"sql(bigint NULL, "valid_from" timestamp with time zone NOT NULL, "base_path" text NOT NULL, )sql"
      R"sql("logical_table_data_version_id" bigint NOT NULL, "valid_to" timestamp with time zone NOT NULL, )sql"
      R"sql(FOREIGN KEY ("logical_table_data_version_id") REFERENCES "logical_table_data_versions" ("id") )sql"
      R"sql(ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("collection_id") REFERENCES "collections" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("function_version_id") REFERENCES )sql"
      R"sql("functions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("function_version_patch_id") REFERENCES "function_patches" ("id") ON DELETE RESTRICT ON )sql"
      R"sql(UPDATE RESTRICT, FOREIGN KEY ("execution_id") REFERENCES "executions" ("id") ON DELETE )sql"
      R"sql(RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("physical_function_run_id") REFERENCES )sql"
      R"sql("physical_function_runs" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

TEST(PhysicalTableDataVersions, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE UNIQUE INDEX "ptdv___physical_function_run_id__table_id___uidx" ON )sql"
      R"sql("physical_table_data_versions" ("physical_function_run_id", "table_id"))sql",
      R"sql(CREATE UNIQUE INDEX "ptdv___logical_table_data_version_id___current_uidx" ON )sql"
      R"sql("physical_table_data_versions" ("logical_table_data_version_id") WHERE "valid_to" = )sql"
      R"sql('infinity'::timestamptz)sql",
      R"sql(CREATE INDEX "ptdv___project_id__id___idx" ON "physical_table_data_versions" ("project_id", )sql"
      R"sql("id"))sql",
      R"sql(CREATE INDEX "ptdv___logical_table_data_version_id__valid_from__id___idx" ON )sql"
      R"sql("physical_table_data_versions" ("logical_table_data_version_id", "valid_from", "id"))sql",
  }));
}

// The second view reads the first, so it comes after it.
TEST(PhysicalTableDataVersions, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW physical_table_data_versions__with_function WITH (security_invoker = true) AS )sql"
      R"sql(SELECT "physical_table_data_versions".*, "physical_function_runs"."triggered_by_id" AS )sql"
      R"sql("triggered_by_id", "physical_function_runs"."started_on" AS "started_on", )sql"
      R"sql("physical_function_runs"."ended_on" AS "ended_on", "physical_function_runs"."status" AS )sql"
      R"sql("status", "functions"."storage_version" AS "storage_version" FROM )sql"
      R"sql("physical_table_data_versions" LEFT JOIN "functions" ON )sql"
      R"sql("physical_table_data_versions"."function_version_id" = "functions"."id" LEFT JOIN )sql"
      R"sql("physical_function_runs" ON "physical_table_data_versions"."physical_function_run_id" = )sql"
      R"sql("physical_function_runs"."id")sql",
      R"sql(CREATE VIEW physical_table_data_versions__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("physical_table_data_versions__with_function".*, "collections_resolved"."name" AS )sql"
      R"sql("collection", "collections_resolved"."deleted" AS "collection_deleted", "functions"."name" AS )sql"
      R"sql("function", COALESCE(users.name, '[' || )sql"
      R"sql(physical_table_data_versions__with_function.triggered_by_id || ']') AS "created_by" FROM )sql"
      R"sql("physical_table_data_versions__with_function" LEFT JOIN "collections_resolved" ON )sql"
      R"sql("physical_table_data_versions__with_function"."collection_id" = "collections_resolved"."id" )sql"
      R"sql(LEFT JOIN "functions" ON "physical_table_data_versions__with_function"."function_version_id" = )sql"
      R"sql("functions"."id" LEFT JOIN "users" ON )sql"
      R"sql("physical_table_data_versions__with_function"."triggered_by_id" = "users"."id")sql",
  }));
}

// Rows inserted pending (valid_to = valid_from) neither fire the close
// trigger nor count as the next version; the settle trigger chains them in.
TEST(PhysicalTableDataVersions, CloseAndSettleTriggers) {
  EXPECT_EQ(Defs().create_db_triggers(), (std::vector<source::Derived>{{{
      R"sql(CREATE OR REPLACE FUNCTION physical_table_data_versions__scd2_close_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  PERFORM pg_advisory_xact_lock(hashtextextended('physical_table_data_versions:' || )sql"
      R"sql(NEW.logical_table_data_version_id, 0));)sql" "\n"
      R"sql(  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to)sql" "\n"
      R"sql(  FROM physical_table_data_versions)sql" "\n"
      R"sql(  WHERE logical_table_data_version_id = NEW.logical_table_data_version_id)sql" "\n"
      R"sql(    AND (valid_from, id) > (NEW.valid_from, NEW.id))sql" "\n"
      R"sql(    AND valid_to > valid_from;)sql" "\n"
      R"sql(  UPDATE physical_table_data_versions SET valid_to = NEW.valid_from)sql" "\n"
      R"sql(  WHERE logical_table_data_version_id = NEW.logical_table_data_version_id)sql" "\n"
      R"sql(    AND (valid_from, id) < (NEW.valid_from, NEW.id))sql" "\n"
      R"sql(    AND valid_to > NEW.valid_from;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER physical_table_data_versions__scd2_close BEFORE INSERT ON )sql"
      R"sql(physical_table_data_versions)sql" "\n"
      R"sql(FOR EACH ROW WHEN (NEW.valid_to IS DISTINCT FROM NEW.valid_from) EXECUTE FUNCTION )sql"
      R"sql(physical_table_data_versions__scd2_close_fn())sql",
      R"sql(CREATE TRIGGER physical_table_data_versions__scd2_settle BEFORE UPDATE OF valid_from ON )sql"
      R"sql(physical_table_data_versions)sql" "\n"
      R"sql(FOR EACH ROW WHEN (OLD.valid_to = OLD.valid_from AND NEW.valid_from > OLD.valid_from) EXECUTE )sql"
      R"sql(FUNCTION physical_table_data_versions__scd2_close_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS physical_table_data_versions__scd2_close ON physical_table_data_versions)sql",
      R"sql(DROP TRIGGER IF EXISTS physical_table_data_versions__scd2_settle ON )sql"
      R"sql(physical_table_data_versions)sql",
      R"sql(DROP FUNCTION IF EXISTS physical_table_data_versions__scd2_close_fn())sql",
  }}}));
}

}  // namespace
}  // namespace schema::current::physical_table_data_versions

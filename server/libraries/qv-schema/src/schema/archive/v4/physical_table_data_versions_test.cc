#include "schema/archive/v4/physical_table_data_versions.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::physical_table_data_versions {
namespace {

using Texts = std::vector<std::string>;

TEST(V4PhysicalTableDataVersions, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "physical_table_data_versions" ( "id" text NOT NULL PRIMARY KEY, "project_id" )sql"
      R"sql(text NOT NULL, "collection_id" text NOT NULL, "table_id" text NOT NULL, "name" text NOT NULL, )sql"
      R"sql("table_version_id" text NOT NULL, "function_version_id" text NOT NULL, )sql"
      R"sql("function_version_patch_id" text NULL, "has_data" boolean NULL, "schema_changed" boolean NULL, )sql"
      R"sql("column_count" bigint NULL, "row_count" bigint NULL, "data_bytes" bigint NULL, "schema_hash" )sql"
      R"sql(text NULL, "columnar_lineage" text NULL, "execution_id" text NOT NULL, "transaction_id" text )sql"
      R"sql(NOT NULL, "physical_function_run_id" text NOT NULL, "function_param_pos" integer NOT NULL, )sql"
      R"sql("with_data_table_data_version_id" text NULL, "triggered_on" timestamp with time zone NOT NULL, )sql"
      R"sql("base_path" text NOT NULL, "logical_table_data_version_id" text NOT NULL, "valid_to" timestamp )sql"
      R"sql(with time zone NOT NULL, FOREIGN KEY ("logical_table_data_version_id") REFERENCES )sql"
      R"sql("logical_table_data_versions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )sql"
      R"sql(FOREIGN KEY ("function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE )sql"
      R"sql(RESTRICT, FOREIGN KEY ("function_version_patch_id") REFERENCES "function_patches" ("id") ON )sql"
      R"sql(DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("execution_id") REFERENCES "executions" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("physical_function_run_id") )sql"
      R"sql(REFERENCES "physical_function_runs" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

TEST(V4PhysicalTableDataVersions, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE UNIQUE INDEX "ptdv___physical_function_run_id__table_id___uidx" ON )sql"
      R"sql("physical_table_data_versions" ("physical_function_run_id", "table_id"))sql",
      R"sql(CREATE UNIQUE INDEX "ptdv___logical_table_data_version_id___current_uidx" ON )sql"
      R"sql("physical_table_data_versions" ("logical_table_data_version_id") WHERE "valid_to" = )sql"
      R"sql('infinity'::timestamptz)sql",
      R"sql(CREATE INDEX "ptdv___project_id__id___idx" ON "physical_table_data_versions" ("project_id", )sql"
      R"sql("id"))sql",
      R"sql(CREATE INDEX "ptdv___logical_table_data_version_id__triggered_on__id___idx" ON )sql"
      R"sql("physical_table_data_versions" ("logical_table_data_version_id", "triggered_on", "id"))sql",
  }));
}

TEST(V4PhysicalTableDataVersions, Views) {
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

// A plain close trigger on "triggered_on": no pending rows, no settle trigger.
TEST(V4PhysicalTableDataVersions, CloseTrigger) {
  EXPECT_EQ(Defs().create_db_triggers(), (std::vector<source::Derived>{{{
      R"sql(CREATE OR REPLACE FUNCTION physical_table_data_versions__scd2_close_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  PERFORM pg_advisory_xact_lock(hashtextextended('physical_table_data_versions:' || )sql"
      R"sql(NEW.logical_table_data_version_id, 0));)sql" "\n"
      R"sql(  SELECT COALESCE(MIN(triggered_on), 'infinity') INTO NEW.valid_to)sql" "\n"
      R"sql(  FROM physical_table_data_versions)sql" "\n"
      R"sql(  WHERE logical_table_data_version_id = NEW.logical_table_data_version_id)sql" "\n"
      R"sql(    AND (triggered_on, id) > (NEW.triggered_on, NEW.id);)sql" "\n"
      R"sql(  UPDATE physical_table_data_versions SET valid_to = NEW.triggered_on)sql" "\n"
      R"sql(  WHERE logical_table_data_version_id = NEW.logical_table_data_version_id)sql" "\n"
      R"sql(    AND (triggered_on, id) < (NEW.triggered_on, NEW.id))sql" "\n"
      R"sql(    AND valid_to > NEW.triggered_on;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER physical_table_data_versions__scd2_close BEFORE INSERT ON )sql"
      R"sql(physical_table_data_versions)sql" "\n"
      R"sql(FOR EACH ROW EXECUTE FUNCTION physical_table_data_versions__scd2_close_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS physical_table_data_versions__scd2_close ON physical_table_data_versions)sql",
      R"sql(DROP FUNCTION IF EXISTS physical_table_data_versions__scd2_close_fn())sql",
  }}}));
}

}  // namespace
}  // namespace schema::archive::v4::physical_table_data_versions

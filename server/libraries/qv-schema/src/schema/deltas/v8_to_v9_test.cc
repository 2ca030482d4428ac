#include "schema/deltas/v8_to_v9.h"

#include <gtest/gtest.h>

#include "sqlbuilder/render.h"

namespace schema::deltas::v8_to_v9 {
namespace {

using Texts = std::vector<std::string>;

const std::string kOldIds =
    "('00000000000000000000000208', '0000000000000000000000020c', '0000000000000000000000020g')";

std::string renumber(const std::string& table, const std::string& column) {
  const std::string c = "\"" + column + "\"";
  return "UPDATE \"" + table + "\" SET " + c + " = left(\"project_id\", 25) || CASE WHEN " + c +
         " = '00000000000000000000000208' THEN '4' WHEN " + c + " = '0000000000000000000000020c' THEN '8' WHEN " + c +
         " = '0000000000000000000000020g' THEN 'c' END WHERE " + c + " IN " + kOldIds +
         " AND \"project_id\" <> (SELECT min(\"project_id\") FROM \"groups\" WHERE \"id\" IN " + kOldIds + ")";
}

TEST(V8ToV9, KeeperProjectIsTheSmallestOwnerOfASharedGroup) {
  EXPECT_EQ(sqlbuilder::to_sql(keeper_project()),
            "(SELECT min(\"project_id\") FROM \"groups\" WHERE \"id\" IN " + kOldIds + ")");
}

TEST(V8ToV9, GroupsOfTheirOwnPerProject) {
  // The collision check calls pg_catalog's functions by name: it runs with
  // the home schema on the search path.
  const std::string qualified_keeper =
      "(SELECT pg_catalog.min(\"project_id\") FROM \"groups\" WHERE \"id\" IN " + kOldIds + ")";
  Texts expected = {
      "DO $$\nDECLARE\n  collisions text;\nBEGIN\n"
      "  SELECT pg_catalog.string_agg(pg_catalog.format('%s: %s', id, holders), '; ' ORDER BY id)\n"
      "  INTO collisions\n  FROM (\n"
      "    SELECT id, pg_catalog.string_agg(holder, ', ' ORDER BY holder) AS holders\n"
      "    FROM (SELECT CASE WHEN \"id\" IN " +
          kOldIds + " AND \"project_id\" <> " + qualified_keeper +
          " THEN pg_catalog.left(\"project_id\", 25) || CASE WHEN \"id\" = '00000000000000000000000208' THEN '4' WHEN "
          "\"id\" = '0000000000000000000000020c' THEN '8' WHEN \"id\" = '0000000000000000000000020g' THEN 'c' END "
          "ELSE \"id\" END AS \"id\", CASE WHEN \"id\" = '00000000000000000000000208' THEN 'default' WHEN \"id\" = "
          "'0000000000000000000000020c' THEN 'sources' WHEN \"id\" = '0000000000000000000000020g' THEN "
          "'destinations' ELSE 'custom' END || ' group of project ' || \"project_id\" AS \"holder\" FROM "
          "\"groups\") AS renumbered\n"
          "    GROUP BY id HAVING pg_catalog.count(*) > 1\n  ) AS shared;\n  IF collisions IS NOT NULL THEN\n"
          "    RAISE EXCEPTION\n      'Group ids must be unique once each project has system groups of its own; give "
          "the other groups of each id another id or delete them, then upgrade again: %',\n      collisions;\n"
          "  END IF;\n"
          "  SELECT pg_catalog.string_agg(pg_catalog.format('%s: projects %s', id, projects), '; ' ORDER BY id)\n"
          "  INTO collisions\n  FROM (\n"
          "    SELECT id, pg_catalog.string_agg(project_id, ', ' ORDER BY project_id) AS projects\n"
          "    FROM connections\n    GROUP BY id HAVING pg_catalog.count(*) > 1\n  ) AS shared;\n"
          "  IF collisions IS NOT NULL THEN\n    RAISE EXCEPTION\n      'Connection ids must be unique across projects "
          "once connections are keyed by their id alone; give the other connections of each id another id or delete "
          "them, then upgrade again: %',\n      collisions;\n  END IF;\nEND $$",
      R"sql(ALTER TABLE "collections" DROP CONSTRAINT "collections_project_id_group_id_fkey")sql",
      R"sql(ALTER TABLE "logical_function_runs" DROP CONSTRAINT "logical_function_runs_project_id_group_id_fkey")sql",
      R"sql(ALTER TABLE "logical_table_data_versions" DROP CONSTRAINT )sql"
      R"sql("logical_table_data_versions_project_id_group_id_fkey")sql",
      R"sql(ALTER TABLE "transactions" DROP CONSTRAINT "transactions_project_id_group_id_fkey")sql",
      R"sql(ALTER TABLE "collections" DROP CONSTRAINT "collections_project_id_connection_id_fkey")sql",
      R"sql(ALTER TABLE "groups" ADD COLUMN "kind" text NULL)sql",
      R"sql(UPDATE "groups" SET "kind" = CASE WHEN "id" = '00000000000000000000000208' THEN 'default' WHEN )sql"
      R"sql("id" = '0000000000000000000000020c' THEN 'sources' WHEN "id" = '0000000000000000000000020g' THEN )sql"
      R"sql('destinations' ELSE 'custom' END)sql",
      R"sql(ALTER TABLE "groups" ALTER COLUMN "kind" TYPE text, ALTER COLUMN "kind" SET NOT NULL)sql",
      renumber("collections", "group_id"),
      renumber("logical_function_runs", "group_id"),
      renumber("logical_table_data_versions", "group_id"),
      renumber("transactions", "group_id"),
      renumber("groups", "id"),
      R"sql(ALTER TABLE "groups" DROP CONSTRAINT "groups_pkey")sql",
      R"sql(ALTER TABLE "groups" ADD PRIMARY KEY ("id"))sql",
      R"sql(ALTER TABLE "connections" DROP CONSTRAINT "connections_pkey")sql",
      R"sql(ALTER TABLE "connections" ADD PRIMARY KEY ("id"))sql",
  };
  for (const std::string table :
       {"collections", "logical_function_runs", "logical_table_data_versions", "transactions"}) {
    expected.push_back("ALTER TABLE \"" + table +
                       "\" ADD FOREIGN KEY (\"group_id\") REFERENCES \"groups\" (\"id\") ON DELETE RESTRICT ON "
                       "UPDATE RESTRICT");
  }
  expected.push_back(
      R"sql(ALTER TABLE "collections" ADD FOREIGN KEY ("connection_id") REFERENCES "connections" ("id") ON DELETE )sql"
      R"sql(RESTRICT ON UPDATE RESTRICT)sql");
  expected.push_back("UPDATE quorvale_system SET value = '9' WHERE name = 'db_version'");

  const source::Delta step = delta();
  EXPECT_EQ(step.up, expected);
  EXPECT_EQ(step.retired,
            (Texts{
                R"sql(DROP INDEX IF EXISTS "collections___project_id__group_id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "groups___id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "logical_function_runs___project_id__group_id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "logical_table_data_versions___project_id__group_id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "transactions___project_id__group_id___idx")sql",
            }));
}

}  // namespace
}  // namespace schema::deltas::v8_to_v9

// The builder statements of the database layer as they go to the server: the
// text with numbered placeholders, and the values bound to them with their kinds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/admin_pool.h"
#include "components/upgrade.h"
#include "pool/serving.h"
#include "pool/state.h"
#include "schema/quorvale_system.h"
#include "schema/render.h"
#include "sea_query/builder.h"

namespace components {
namespace {

using connection::Param;
using sea_query::builder::build_sea_query;
using sea_query::builder::BuiltStatement;

config::schema::Schema home() { return config::schema::Schema::parse("qv_apiserver").value(); }

TEST(Statements, RenderWithNumberedPlaceholdersAndTypedValues) {
  struct {
    const char* name;
    BuiltStatement built;
    const char* sql;
    std::vector<Param> values;
  } cases[] = {
      {"system row read",
       build_sea_query(pool::state::system_value_query("db_version")),
       R"(SELECT "value" FROM "quorvale_system" WHERE "name" = $1)",
       {std::string("db_version")}},
      {"server version",
       build_sea_query(pool::state::server_version_query()),
       "SELECT CAST(current_setting($1) AS int)",
       {std::string("server_version_num")}},
      {"powers beyond serving",
       build_sea_query(pool::serving::beyond_serving_query()),
       R"(SELECT "rolsuper" OR "rolbypassrls" OR "rolcreaterole" OR "rolreplication" OR "rolname" IN )"
       R"((CAST($1 AS name), CAST($2 AS name), CAST($3 AS name)) AS "beyond_serving" FROM "pg_catalog"."pg_roles" )"
       R"(WHERE pg_catalog.pg_has_role(session_user, "oid", $4) OR pg_catalog.pg_has_role(current_user, "oid", $5) )"
       R"(ORDER BY "beyond_serving" DESC LIMIT 1)",
       {std::string("pg_read_server_files"), std::string("pg_write_server_files"),
        std::string("pg_execute_server_program"), std::string("MEMBER"), std::string("MEMBER")}},
      {"in-project role across projects",
       build_sea_query(pool::serving::in_project_across_projects_query()),
       "SELECT pg_catalog.pg_has_role(CAST(pg_catalog.current_setting($1) AS name), CAST($2 AS name), $3)",
       {std::string("qv.in_project_role"), std::string("qv_across_projects"), std::string("MEMBER")}},
      {"create privilege",
       build_sea_query(admin_pool::create_privilege_query(home())),
       "SELECT has_schema_privilege(current_user, $1, $2)",
       {std::string("qv_apiserver"), std::string("CREATE")}},
      {"upgrade lock",
       build_sea_query(upgrade::lock_query(home())),
       "SELECT pg_catalog.pg_try_advisory_xact_lock(pg_catalog.hashtextextended($1, $2))",
       {std::string("upgrade:schema:qv_apiserver"), std::int64_t{0}}},
      {"version write",
       build_sea_query(upgrade::db_version_upsert(13)),
       R"(INSERT INTO "quorvale_system" ("name", "value") VALUES ($1, $2) ON CONFLICT ("name") DO UPDATE SET )"
       R"("value" = "excluded"."value")",
       {std::string("db_version"), std::string("13")}},
      {"edition insert",
       build_sea_query(upgrade::edition_insert()),
       R"(INSERT INTO "quorvale_system" ("name", "value") VALUES ($1, $2))",
       {std::string("edition"), std::string("enterprise")}},
      {"edition update",
       build_sea_query(upgrade::edition_update()),
       R"(UPDATE "quorvale_system" SET "value" = $1 WHERE "name" = $2)",
       {std::string("enterprise"), std::string("edition")}},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.name);
    EXPECT_EQ(test_case.built.sql, test_case.sql);
    EXPECT_EQ(test_case.built.values, test_case.values);
  }
}

TEST(Statements, TheSystemTableIsCreatedUnlessItExists) {
  EXPECT_EQ(schema::render::render_schema(schema::create_system_table()),
            R"(CREATE TABLE IF NOT EXISTS "quorvale_system" ( "name" text NOT NULL PRIMARY KEY, "value" text NULL ))");
}

}  // namespace
}  // namespace components

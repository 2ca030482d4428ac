#include "schema/deltas/v10_to_v12.h"

#include <gtest/gtest.h>

namespace schema::deltas {
namespace {

using Texts = std::vector<std::string>;

TEST(V10ToV11, FunctionTypeAndParentFunction) {
  const source::Delta delta = v10_to_v11::delta();
  EXPECT_EQ(delta.up, (Texts{
      R"sql(ALTER TABLE "functions" ADD COLUMN "function_type" text NULL)sql",
      R"sql(UPDATE "functions" SET "function_type" = 'R')sql",
      R"sql(ALTER TABLE "functions" ALTER COLUMN "function_type" TYPE text, ALTER COLUMN "function_type" )sql"
      R"sql(SET NOT NULL)sql",
      R"sql(ALTER TABLE "functions" ADD COLUMN "parent_function_id" text NULL COLLATE "C")sql",
      "UPDATE quorvale_system SET value = '11' WHERE name = 'db_version'",
  }));
  EXPECT_TRUE(delta.retired.empty());
}

TEST(V11ToV12, ServiceTokensAndParentTables) {
  const source::Delta delta = v11_to_v12::delta();
  EXPECT_EQ(delta.up, (Texts{
      R"sql(CREATE TABLE "service_tokens" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "user_id" text )sql"
      R"sql(NOT NULL COLLATE "C", "slot" integer NOT NULL CHECK ("slot" IN (1, 2)), "digest" text NOT NULL )sql"
      R"sql(UNIQUE, "hint" text NOT NULL, "comment" text NULL, "created_on" timestamp with time zone NOT )sql"
      R"sql(NULL, "expires_on" timestamp with time zone NOT NULL, "last_used_on" timestamp with time zone )sql"
      R"sql(NULL, "scope" text NOT NULL, "system" boolean NOT NULL, FOREIGN KEY ("user_id") REFERENCES )sql"
      R"sql("users" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
      R"sql(ALTER TABLE "tables" ADD COLUMN "parent_table_id" text NULL COLLATE "C")sql",
      R"sql(DELETE FROM "sessions" WHERE "access_token_id" = 'k0000000000000000000000004')sql",
      "UPDATE quorvale_system SET value = '12' WHERE name = 'db_version'",
  }));
  EXPECT_TRUE(delta.retired.empty());
}

}  // namespace
}  // namespace schema::deltas

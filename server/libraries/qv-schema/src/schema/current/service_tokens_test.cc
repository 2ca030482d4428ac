#include "schema/current/service_tokens.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::service_tokens {
namespace {

using Texts = std::vector<std::string>;

TEST(ServiceTokens, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "service_tokens" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "user_id" text NOT )sql"
      R"sql(NULL COLLATE "C", "slot" integer NOT NULL CHECK ("slot" IN (1, 2)), "digest" text NOT NULL )sql"
      R"sql(UNIQUE, "hint" text NOT NULL, "comment" text NULL, "created_on" timestamp with time zone NOT )sql"
      R"sql(NULL, "expires_on" timestamp with time zone NOT NULL, "last_used_on" timestamp with time zone )sql"
      R"sql(NULL, "scope" text NOT NULL, "system" boolean NOT NULL, FOREIGN KEY ("user_id") REFERENCES )sql"
      R"sql("users" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql"
  }));
}

TEST(ServiceTokens, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE UNIQUE INDEX "service_tokens___user_id__slot___idx" ON "service_tokens" ("user_id", )sql"
      R"sql("slot"))sql"
  }));
}

TEST(ServiceTokens, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW service_tokens__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("service_tokens".*, "users"."name" AS "user_name", "users"."enabled" AS "user_enabled" FROM )sql"
      R"sql("service_tokens" INNER JOIN "users" ON "service_tokens"."user_id" = "users"."id")sql"
  }));
}

}  // namespace
}  // namespace schema::current::service_tokens

#include "schema/current/sessions.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::sessions {
namespace {

using Texts = std::vector<std::string>;

TEST(Sessions, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "sessions" ( "access_token_id" text NOT NULL PRIMARY KEY COLLATE "C", )sql"
      R"sql("refresh_token_id" text NOT NULL UNIQUE COLLATE "C", "user_id" text NOT NULL COLLATE "C", )sql"
      R"sql("created_on" timestamp with time zone NOT NULL, "expires_on" timestamp with time zone NOT )sql"
      R"sql(NULL, "status_change_on" timestamp with time zone NOT NULL, "status" text NOT NULL ))sql"
  }));
}

TEST(Sessions, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "sessions___expires_on___idx" ON "sessions" ("expires_on"))sql",
      R"sql(CREATE INDEX "sessions___user_id___idx" ON "sessions" ("user_id"))sql"
  }));
}

TEST(Sessions, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW sessions__with_names WITH (security_invoker = true) AS SELECT "sessions".*, )sql"
      R"sql("users"."name" AS "user_name" FROM "sessions" INNER JOIN "users" ON "sessions"."user_id" = )sql"
      R"sql("users"."id")sql"
  }));
}

}  // namespace
}  // namespace schema::current::sessions

#include "schema/archive/v4/sessions.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::sessions {
namespace {

using Texts = std::vector<std::string>;

TEST(V4Sessions, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "sessions" ( "access_token_id" text NOT NULL PRIMARY KEY, "refresh_token_id" text )sql"
      R"sql(NOT NULL UNIQUE, "user_id" text NOT NULL, "created_on" timestamp with time zone NOT NULL, )sql"
      R"sql("expires_on" timestamp with time zone NOT NULL, "status_change_on" timestamp with time zone )sql"
      R"sql(NOT NULL, "status" text NOT NULL ))sql"
  }));
}

TEST(V4Sessions, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "sessions___status___idx" ON "sessions" ("status"))sql",
      R"sql(CREATE INDEX "sessions___expires_on___idx" ON "sessions" ("expires_on"))sql",
      R"sql(CREATE INDEX "sessions___user_id___idx" ON "sessions" ("user_id"))sql"
  }));
}

TEST(V4Sessions, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW sessions__with_names WITH (security_invoker = true) AS SELECT "sessions".*, )sql"
      R"sql("users"."name" AS "user_name" FROM "sessions" INNER JOIN "users" ON "sessions"."user_id" = )sql"
      R"sql("users"."id")sql"
  }));
}

}  // namespace
}  // namespace schema::archive::v4::sessions

#include "schema/current/groups.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::groups {
namespace {

using Texts = std::vector<std::string>;

TEST(Groups, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "groups" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "project_id" text NOT NULL )sql"
      R"sql(COLLATE "C", "name" text NOT NULL, "description" text NOT NULL, "created_on" timestamp with )sql"
      R"sql(time zone NOT NULL, "created_by_id" text NOT NULL COLLATE "C", "modified_on" timestamp with )sql"
      R"sql(time zone NOT NULL, "modified_by_id" text NOT NULL COLLATE "C", "system" boolean NOT NULL, )sql"
      R"sql("kind" text NOT NULL ))sql"
  }));
}

TEST(Groups, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "groups___name___idx" ON "groups" ("name"))sql",
      R"sql(CREATE UNIQUE INDEX "groups___project_id__name___uidx" ON "groups" ("project_id", "name") )sql"
      R"sql(WHERE "name" IS NOT NULL)sql"
  }));
}

TEST(Groups, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW groups__with_names WITH (security_invoker = true) AS SELECT "groups"."id", )sql"
      R"sql("groups"."project_id", "groups"."name", "groups"."description", "groups"."created_on", )sql"
      R"sql("groups"."created_by_id", COALESCE(created_by_user.name, '[' || groups.created_by_id || ']') )sql"
      R"sql(AS "created_by", "groups"."modified_on", "groups"."modified_by_id", )sql"
      R"sql(COALESCE(modified_by_user.name, '[' || groups.modified_by_id || ']') AS "modified_by", )sql"
      R"sql("groups"."system", "groups"."kind" FROM "groups" LEFT JOIN "users" AS "created_by_user" ON )sql"
      R"sql("groups"."created_by_id" = "created_by_user"."id" LEFT JOIN "users" AS "modified_by_user" ON )sql"
      R"sql("groups"."modified_by_id" = "modified_by_user"."id")sql"
  }));
}

}  // namespace
}  // namespace schema::current::groups

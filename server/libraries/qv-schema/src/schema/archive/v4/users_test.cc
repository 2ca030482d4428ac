#include "schema/archive/v4/users.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::users {
namespace {

using Texts = std::vector<std::string>;

TEST(V4Users, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "users" ( "id" text NOT NULL PRIMARY KEY, "name" text NOT NULL UNIQUE, )sql"
      R"sql("full_name" text NOT NULL, "email" text NULL UNIQUE, "created_on" timestamp with time zone NOT )sql"
      R"sql(NULL, "created_by_id" text NOT NULL, "modified_on" timestamp with time zone NOT NULL, )sql"
      R"sql("modified_by_id" text NOT NULL, "password_hash" text NOT NULL, "password_set_on" timestamp )sql"
      R"sql(with time zone NOT NULL, "password_must_change" boolean NOT NULL, "enabled" boolean NOT NULL, )sql"
      R"sql("system" boolean NOT NULL ))sql"
  }));
}

TEST(V4Users, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW users__with_names WITH (security_invoker = true) AS SELECT "users".*, )sql"
      R"sql(COALESCE(created_by_user.name, '[' || users.created_by_id || ']') AS "created_by", )sql"
      R"sql(COALESCE(modified_by_user.name, '[' || users.modified_by_id || ']') AS "modified_by" FROM )sql"
      R"sql("users" LEFT JOIN "users" AS "created_by_user" ON "users"."created_by_id" = )sql"
      R"sql("created_by_user"."id" LEFT JOIN "users" AS "modified_by_user" ON "users"."modified_by_id" = )sql"
      R"sql("modified_by_user"."id")sql"
  }));
}

TEST(V4Users, SeedsSystemUserThenAdministrator) {
  EXPECT_EQ(entity_texts::seeds(Defs()), (Texts{
      R"sql(INSERT INTO "users" ("id", "name", "full_name", "email", "created_on", "created_by_id", )sql"
      R"sql("modified_on", "modified_by_id", "password_hash", "password_set_on", "password_must_change", )sql"
      R"sql("enabled", "system") VALUES ('00000000000000000000000000', 'system', 'System', NULL, )sql"
      R"sql(CURRENT_TIMESTAMP, '00000000000000000000000000', CURRENT_TIMESTAMP, )sql"
      R"sql('00000000000000000000000000', '!', CURRENT_TIMESTAMP, false, false, true))sql",
      R"sql(INSERT INTO "users" ("id", "name", "full_name", "email", "created_on", "created_by_id", )sql"
      R"sql("modified_on", "modified_by_id", "password_hash", "password_set_on", "password_must_change", )sql"
      R"sql("enabled", "system") VALUES ('00000000000000000000000004', 'admin', 'Administrator', NULL, )sql"
      R"sql(CURRENT_TIMESTAMP, '00000000000000000000000000', CURRENT_TIMESTAMP, )sql"
      R"sql('00000000000000000000000000', )sql"
      R"sql('$argon2id$v=19$m=19456,t=2,p=1$Zq3vN8pLw2XkTm5RbY7cHd$Vh4Qe9Ls2Kd7Wn1Bx6Jt3Mr8Pc5Gy0Fz2Ua7Nk4Ei)sql"
      R"sql(9S', CURRENT_TIMESTAMP, false, true, false))sql"
  }));
}

}  // namespace
}  // namespace schema::archive::v4::users

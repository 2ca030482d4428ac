#include "test_support/serving_role.h"

#include "test_support/installed_schema.h"

namespace schema::test_support {

void create_serving_role(connection::Connection& session, const std::string& role, const std::string& password) {
  const std::string schema = kHomeSchema;
  run_texts(session,
            {"CREATE ROLE " + role + " LOGIN NOSUPERUSER NOBYPASSRLS PASSWORD '" + password + "'",
             "GRANT USAGE ON SCHEMA " + schema + " TO " + role,
             "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA " + schema + " TO " + role});
}

}  // namespace schema::test_support

#pragma once

// A test database with the names of one API-server schema: the home schema
// qv_apiserver and owner, in-project and across-projects roles of this test
// alone, with helpers that provision it, upgrade it and check it.

#include <functional>
#include <optional>
#include <string>

#include "components/admin_pool.h"
#include "components/apiserver.h"
#include "components/plan.h"
#include "components/provision.h"
#include "components/upgrade.h"
#include "pool/serving.h"
#include "test_support/database_fixture.h"

namespace test_support {

using Outcome = components::component::Outcome;

// "ok", or the error's code and message: "5046 A schema upgrade ...".
std::string outcome_text(const Outcome& outcome);

struct UpgradeRun {
  Outcome outcome;
  std::optional<components::plan::RecordedPlan> plan;
};

class SchemaFixture : public DatabaseFixture {
 protected:
  void SetUp() override;

  const config::schema::Schema& home() const { return *home_; }
  const components::admin_pool::RlsRoles& roles() const { return *roles_; }
  std::string owner() const { return role_name("owner"); }
  const components::component::SchemaComponent& component() const { return components::apiserver::kApiserverComponent; }

  // The privileged pool, as the server's superuser unless `login` is given.
  components::admin_pool::AdminPool admin(const std::string& login = "") const;
  components::provision::ProvisionRequest request(std::string password = "owner pw") const;
  // Provisions the schema as the superuser; a failure fails the test.
  void provision();

  // Opens a transaction on a session of `admin`, runs `body` (by default the
  // component's upgrade) and `inspect` on it, and commits when `body`
  // succeeded, otherwise rolls back.
  UpgradeRun upgrade(const components::admin_pool::AdminPool& admin,
                     const std::function<Outcome(components::upgrade::UpgradeTransaction&)>& body = {},
                     const std::function<void(connection::Connection&)>& inspect = {});
  // Provisions and upgrades as the superuser; a failure fails the test.
  void install();

  // A login of this test that is a member of the in-project role, and the
  // serving pool of `login` (its sessions name the in-project role).
  std::string serving_login(const std::string& suffix = "api", const std::string& password = "api pw");
  pool::serving::QvPool serving_pool(const std::string& login) const;

  // A session of the test database as the superuser, search_path the home schema.
  connection::Connection session() const;
  // Runs `sql` in such a session; a failure fails the test.
  void run(const std::string& sql);
  // The first value that `sql` gives in such a session, as query_value shows it.
  std::string value(const std::string& sql);
  // A login of this test with `attributes`, CREATE on the test database and
  // the password "admin pw".
  std::string administrator(const std::string& suffix, const std::string& attributes);

 private:
  std::optional<config::schema::Schema> home_;
  std::optional<components::admin_pool::RlsRoles> roles_;
};

}  // namespace test_support

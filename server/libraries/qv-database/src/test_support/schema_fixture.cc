#include "test_support/schema_fixture.h"

#include "connection/transaction.h"

namespace test_support {

std::string outcome_text(const Outcome& outcome) {
  if (outcome) return "ok";
  return std::to_string(outcome.error().numeric_code()) + " " + error::message(outcome.error());
}

void SchemaFixture::SetUp() {
  DatabaseFixture::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  home_ = config::schema::Schema::parse("qv_apiserver").value();
  roles_ = components::admin_pool::RlsRoles::parse(role_name("in_project"), role_name("across")).value();
}

components::admin_pool::AdminPool SchemaFixture::admin(const std::string& login) const {
  auto opened = components::admin_pool::AdminPool::open(login.empty() ? conninfo() : login, home(), roles());
  if (!opened) ADD_FAILURE() << opened.error();
  return std::move(opened).value();
}

components::provision::ProvisionRequest SchemaFixture::request(std::string password) const {
  return components::provision::ProvisionRequest::make(home(), owner(), std::move(password), roles()).value();
}

void SchemaFixture::provision() {
  auto pool = admin();
  auto provisioned = component().provision(pool, request()).get();
  ASSERT_TRUE(provisioned) << outcome_text(provisioned);
}

UpgradeRun SchemaFixture::upgrade(const components::admin_pool::AdminPool& admin,
                                  const std::function<Outcome(components::upgrade::UpgradeTransaction&)>& body,
                                  const std::function<void(connection::Connection&)>& inspect) {
  auto lease = admin.pool().acquire();
  if (!lease) return {qv_common::fail(error::write_failed(lease.error())), std::nullopt};
  auto transaction = connection::Transaction::begin(**lease);
  if (!transaction) return {qv_common::fail(error::write_failed(transaction.error())), std::nullopt};
  auto upgrade = components::upgrade::UpgradeTransaction::open(**lease, admin);
  if (!upgrade) {
    ADD_FAILURE() << upgrade.error();
    return {qv_common::fail(error::write_failed(connection::client_error(connection::ErrorKind::Io, upgrade.error()))),
            std::nullopt};
  }
  UpgradeRun run{body ? body(*upgrade) : component().upgrade(*upgrade).get(), upgrade->plan()};
  if (inspect) inspect(**lease);
  if (run.outcome) {
    auto committed = transaction->commit();
    if (!committed) run.outcome = qv_common::fail(error::write_failed(committed.error()));
  }
  return run;
}

void SchemaFixture::install() {
  ASSERT_NO_FATAL_FAILURE(provision());
  UpgradeRun run = upgrade(admin());
  ASSERT_TRUE(run.outcome) << outcome_text(run.outcome);
}

std::string SchemaFixture::serving_login(const std::string& suffix, const std::string& password) {
  const std::string login = role_name(suffix);
  auto server = connection::connect(conninfo());
  EXPECT_TRUE(server) << connection::describe(server.error());
  if (!server) return {};
  auto created = server->execute_script("CREATE ROLE " + login + " LOGIN PASSWORD '" + password + "' IN ROLE " +
                                        roles().in_project());
  EXPECT_TRUE(created) << connection::describe(created.error());
  return conninfo_with({{"user", login}, {"password", password}});
}

pool::serving::QvPool SchemaFixture::serving_pool(const std::string& login) const {
  auto opened = pool::serving::QvPool::open(login, home(), roles().in_project());
  if (!opened) ADD_FAILURE() << connection::describe(opened.error());
  return std::move(opened).value();
}

connection::Connection SchemaFixture::session() const {
  auto opened = connection::connect(conninfo(), {{"options", "-c search_path=" + home().to_string()}});
  if (!opened) ADD_FAILURE() << connection::describe(opened.error());
  return std::move(opened).value();
}

void SchemaFixture::run(const std::string& sql) {
  connection::Connection db = session();
  auto ran = db.execute_script(sql);
  ASSERT_TRUE(ran) << connection::describe(ran.error());
}

std::string SchemaFixture::value(const std::string& sql) {
  connection::Connection db = session();
  return query_value(db, sql);
}

std::string SchemaFixture::administrator(const std::string& suffix, const std::string& attributes) {
  const std::string name = role_name(suffix);
  run("CREATE ROLE " + name + " LOGIN " + attributes + " PASSWORD 'admin pw'");
  run("GRANT CREATE ON DATABASE " + database_name() + " TO " + name);
  return conninfo_with({{"user", name}, {"password", "admin pw"}});
}

}  // namespace test_support

// A host of the component registry for tests and benchmarks (not installed,
// not one of the tool's commands): takes the one registered schema component
// and runs one of its operations against a database, as a deployment would.
//   schema_host provision --admin CONNINFO --schema S --owner O --in-project R1 --across R2
//                         (the owner's password from QV_OWNER_PASSWORD)
//   schema_host preflight --admin CONNINFO --schema S
//   schema_host upgrade   --admin CONNINFO --schema S --in-project R1 --across R2
//   schema_host check     --serving CONNINFO --schema S --in-project R1
// Success prints one JSON line {"ok":true,...} (an upgrade adds its plan);
// failure prints {"error":{"code":N,"message":"..."}} on standard error (no
// code for a refused configuration) and exits 1. Usage errors exit 2.

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <variant>

#include "components/admin_pool.h"
#include "components/component.h"
#include "components/provision.h"
#include "components/upgrade.h"
#include "config/name.h"
#include "connection/transaction.h"
#include "pool/serving.h"

namespace {

using components::component::Outcome;
using components::component::SchemaComponent;
using nlohmann::json;

struct Options {
  std::string admin;
  std::string serving;
  std::string schema;
  std::string owner;
  std::string in_project;
  std::string across;
};

// A refused configuration, before any statement.
struct Refusal {
  std::string message;
};

using Report = std::variant<json, Refusal, error::DbError>;

template <typename T>
using Configured = qv_common::Result<T, std::string>;

Report report(Outcome outcome) {
  if (!outcome) return std::move(outcome).error();
  return json{{"ok", true}};
}

Configured<components::admin_pool::RlsRoles> roles(const Options& options) {
  return components::admin_pool::RlsRoles::parse(options.in_project, options.across);
}

Configured<components::admin_pool::AdminPool> admin_pool(const Options& options, bool with_roles) {
  QV_ASSIGN_OR_RETURN(config::schema::Schema schema, config::schema::Schema::parse(options.schema));
  std::optional<components::admin_pool::RlsRoles> rls_roles;
  if (with_roles) {
    QV_ASSIGN_OR_RETURN(rls_roles, roles(options));
  }
  return components::admin_pool::AdminPool::open(options.admin, std::move(schema), std::move(rls_roles));
}

Configured<components::provision::ProvisionRequest> provision_request(const Options& options) {
  const char* password = std::getenv("QV_OWNER_PASSWORD");
  QV_ASSIGN_OR_RETURN(config::schema::Schema schema, config::schema::Schema::parse(options.schema));
  QV_ASSIGN_OR_RETURN(components::admin_pool::RlsRoles rls_roles, roles(options));
  return components::provision::ProvisionRequest::make(std::move(schema), options.owner,
                                                       password == nullptr ? "" : password, std::move(rls_roles));
}

Configured<pool::serving::QvPool> serving_pool(const Options& options) {
  QV_ASSIGN_OR_RETURN(config::schema::Schema schema, config::schema::Schema::parse(options.schema));
  QV_ASSIGN_OR_RETURN(std::string in_project, config::name::checked_role_name("in_project", options.in_project));
  auto pool = pool::serving::QvPool::open(options.serving, schema, std::move(in_project));
  if (!pool) return qv_common::fail(connection::describe(pool.error()));
  return std::move(pool).value();
}

json plan_json(const components::plan::RecordedPlan& plan) {
  using namespace components::plan;
  return std::visit(
      [](const auto& action) -> json {
        using T = std::decay_t<decltype(action)>;
        if constexpr (std::is_same_v<T, Install>)
          return {{"ok", true}, {"plan", "Install"}, {"version", action.version}};
        if constexpr (std::is_same_v<T, Migrate>)
          return {{"ok", true}, {"plan", "Migrate"}, {"targets", action.targets}};
        if constexpr (std::is_same_v<T, UpToDate>) return {{"ok", true}, {"plan", "UpToDate"}};
        if constexpr (std::is_same_v<T, Ahead>) return {{"ok", true}, {"plan", "Ahead"}, {"stored", action.stored}};
      },
      plan.action);
}

Report provision(const SchemaComponent& component, const Options& options) {
  auto request = provision_request(options);
  if (!request) return Refusal{request.error()};
  auto admin = admin_pool(options, true);
  if (!admin) return Refusal{admin.error()};
  return report(component.provision(*admin, *request).get());
}

Report preflight(const SchemaComponent& component, const Options& options) {
  auto admin = admin_pool(options, false);
  if (!admin) return Refusal{admin.error()};
  return report(component.preflight(*admin).get());
}

// Opens the transaction, upgrades, and commits on success; a failure is
// rolled back when the transaction ends.
Report upgrade(const SchemaComponent& component, const Options& options) {
  auto admin = admin_pool(options, true);
  if (!admin) return Refusal{admin.error()};
  auto lease = admin->pool().acquire();
  if (!lease) return error::write_failed(std::move(lease).error());
  auto transaction = connection::Transaction::begin(**lease);
  if (!transaction) return error::write_failed(std::move(transaction).error());
  auto upgrading = components::upgrade::UpgradeTransaction::open(**lease, *admin);
  if (!upgrading) return Refusal{upgrading.error()};
  Outcome upgraded = component.upgrade(*upgrading).get();
  if (!upgraded) return std::move(upgraded).error();
  auto committed = transaction->commit();
  if (!committed) return error::write_failed(std::move(committed).error());
  return plan_json(*upgrading->plan());
}

Report check(const SchemaComponent& component, const Options& options) {
  auto pool = serving_pool(options);
  if (!pool) return Refusal{pool.error()};
  return report(component.check(*pool).get());
}

int print(const Report& outcome) {
  if (const json* success = std::get_if<json>(&outcome)) {
    std::cout << success->dump() << "\n";
    return std::cout.flush() ? 0 : 1;
  }
  json failure;
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    failure = {{"message", refusal->message}};
  } else {
    const auto& db_error = std::get<error::DbError>(outcome);
    failure = {{"code", db_error.numeric_code()}, {"message", error::message(db_error)}};
  }
  std::cerr << json{{"error", failure}}.dump() << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Runs one operation of the registered schema component"};
  app.require_subcommand(1);
  Options options;
  auto* provision_command = app.add_subcommand("provision", "owner, schema and row-level-security roles");
  auto* preflight_command = app.add_subcommand("preflight", "server version and CREATE privilege");
  auto* upgrade_command = app.add_subcommand("upgrade", "the schema upgrade, in one transaction");
  auto* check_command = app.add_subcommand("check", "the state check of a serving login");
  for (CLI::App* command : {provision_command, preflight_command, upgrade_command}) {
    command->add_option("--admin", options.admin, "privileged connection string")->required();
  }
  check_command->add_option("--serving", options.serving, "serving connection string")->required();
  for (CLI::App* command : {provision_command, preflight_command, upgrade_command, check_command}) {
    command->add_option("--schema", options.schema, "home schema")->required();
  }
  provision_command->add_option("--owner", options.owner, "schema owner role")->required();
  for (CLI::App* command : {provision_command, upgrade_command, check_command}) {
    command->add_option("--in-project", options.in_project, "in-project role")->required();
  }
  for (CLI::App* command : {provision_command, upgrade_command}) {
    command->add_option("--across", options.across, "across-projects role")->required();
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& failure) {
    return app.exit(failure) == 0 ? 0 : 2;
  }

  const auto& registry = components::component::registry();
  if (std::distance(registry.begin(), registry.end()) != 1) {
    return print(Refusal{"expected exactly one registered schema component"});
  }
  const SchemaComponent& component = *(*registry.begin()).component;
  if (provision_command->parsed()) return print(provision(component, options));
  if (preflight_command->parsed()) return print(preflight(component, options));
  if (upgrade_command->parsed()) return print(upgrade(component, options));
  return print(check(component, options));
}

#include "test_support/installed_schema.h"

#include <gtest/gtest.h>

#include "connection/transaction.h"
#include "schema/current/source.h"
#include "schema/quorvale_system.h"
#include "schema/render.h"

namespace schema::test_support {

void ensure_across_projects_role(connection::Connection& server) {
  const auto created = server.execute(
      "DO $$ BEGIN CREATE ROLE qv_across_projects NOLOGIN; "
      "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$");
  ASSERT_TRUE(created) << connection::describe(created.error());
}

void run_texts(connection::Connection& session, const std::vector<std::string>& texts) {
  for (const std::string& text : texts) {
    const auto ran = session.execute(text);
    ASSERT_TRUE(ran) << connection::describe(ran.error()) << "\nin: " << text;
  }
}

std::vector<std::string> InstalledSchemaFixture::install_texts() const {
  std::vector<std::string> texts = {render::render_schema(create_system_table())};
  const std::vector<std::string> batch = source::install_batch(current::Source());
  texts.insert(texts.end(), batch.begin(), batch.end());
  return texts;
}

std::string InstalledSchemaFixture::home_conninfo() const {
  return conninfo_with({{"options", std::string("-csearch_path=") + kHomeSchema}});
}

void InstalledSchemaFixture::SetUp() {
  DatabaseFixture::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;

  auto server = connection::connect(server_conninfo());
  ASSERT_TRUE(server) << connection::describe(server.error());
  ensure_across_projects_role(*server);
  if (HasFatalFailure()) return;

  auto session = connection::connect(home_conninfo());
  ASSERT_TRUE(session) << connection::describe(session.error());
  session_.emplace(std::move(*session));

  std::vector<std::string> texts = {std::string("CREATE SCHEMA ") + kHomeSchema};
  const std::vector<std::string> install = install_texts();
  texts.insert(texts.end(), install.begin(), install.end());

  auto transaction = connection::Transaction::begin(*session_);
  ASSERT_TRUE(transaction) << connection::describe(transaction.error());
  run_texts(*session_, texts);
  if (HasFatalFailure()) return;
  const auto committed = transaction->commit();
  ASSERT_TRUE(committed) << connection::describe(committed.error());
}

}  // namespace schema::test_support

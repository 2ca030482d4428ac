#include "test_support/session_fixture.h"

#include "test_support/installed_schema.h"
#include "test_support/sql_outcome.h"

namespace test_support {

void SessionFixture::SetUp() {
  DatabaseFixture::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  auto connected = connection::connect(conninfo());
  ASSERT_TRUE(connected) << connection::describe(connected.error());
  session_.emplace(std::move(*connected));
}

void SessionFixture::run(std::string_view sql) {
  auto done = session_->execute_script(sql);
  ASSERT_TRUE(done) << sql << "\n" << connection::describe(done.error());
}

void SessionFixture::run(const std::vector<std::string>& texts) {
  for (const std::string& text : texts) {
    run(text);
    if (HasFatalFailure()) return;
  }
}

std::string SessionFixture::outcome(std::string_view sql) {
  auto done = session_->execute_script(sql);
  return done ? "ok" : done.error().message;
}

void SessionFixture::ensure_across_projects_role() { schema::test_support::ensure_across_projects_role(*session_); }

std::vector<std::string> SessionFixture::rows(std::string_view sql) {
  return schema::test_support::query_rows(*session_, sql);
}

}  // namespace test_support

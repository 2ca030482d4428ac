#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "schema/current/source.h"
#include "test_support/session_fixture.h"

namespace {

struct Output {
  std::string out;
  int status;
};

// Runs `command` through the shell; its standard output and exit status.
Output shell(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {"", -1};
  Output result{"", 0};
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) result.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

Output run(const std::string& arguments) { return shell(std::string(CATALOG_SQL) + " " + arguments + " 2>/dev/null"); }

// The install batch's part that a statement's first line belongs to: tables,
// triggers, views, indexes, statistics, seeds, row-level security; -1 for
// the other lines of a statement.
int install_part(std::string_view line) {
  static constexpr std::pair<std::string_view, int> kStarts[] = {
      {"CREATE TABLE ", 0},      {"CREATE OR REPLACE FUNCTION ", 1},
      {"CREATE TRIGGER ", 1},    {"CREATE VIEW ", 2},
      {"CREATE INDEX ", 3},      {"CREATE UNIQUE INDEX ", 3},
      {"CREATE STATISTICS ", 4}, {"INSERT INTO ", 5},
      {"ALTER TABLE ", 6},       {"CREATE POLICY ", 6},
  };
  for (const auto& [start, part] : kStarts) {
    if (line.starts_with(start)) return part;
  }
  return -1;
}

TEST(CatalogSql, InstallWritesTheSystemTableThenTheBatchInItsOrder) {
  const Output install = run("install");
  ASSERT_EQ(install.status, 0);
  EXPECT_TRUE(install.out.starts_with(
      "CREATE TABLE IF NOT EXISTS \"quorvale_system\" ( \"name\" text NOT NULL PRIMARY KEY, \"value\" text NULL );\n"
      "CREATE TABLE \"users\" ( "))
      << install.out;
  EXPECT_TRUE(install.out.ends_with(
      "CREATE POLICY across_projects ON metrics_facts TO qv_across_projects USING (true) WITH CHECK (true);\n"));

  std::vector<int> parts;
  std::istringstream lines(install.out);
  for (std::string line; std::getline(lines, line);) {
    const int part = install_part(line);
    if (part >= 0 && (parts.empty() || parts.back() != part)) parts.push_back(part);
  }
  EXPECT_EQ(parts, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(CatalogSql, DropsAndCreates) {
  // Views are dropped first and created last.
  const Output drops = run("drops");
  ASSERT_EQ(drops.status, 0);
  EXPECT_TRUE(drops.out.starts_with("DROP VIEW IF EXISTS ")) << drops.out;
  EXPECT_NE(drops.out.find("DROP VIEW IF EXISTS users__with_names;\n"), std::string::npos);
  const Output creates = run("creates");
  ASSERT_EQ(creates.status, 0);
  EXPECT_NE(creates.out.find("CREATE VIEW users__with_names WITH (security_invoker = true) AS SELECT "),
            std::string::npos);
}

TEST(CatalogSql, DeltaWritesTheRetiredTextsThenTheUpTexts) {
  const Output seven = run("delta 7");
  ASSERT_EQ(seven.status, 0);
  EXPECT_EQ(seven.out, "UPDATE quorvale_system SET value = '7' WHERE name = 'db_version';\n");
  const Output four = run("delta 4");
  ASSERT_EQ(four.status, 0);
  EXPECT_TRUE(four.out.starts_with("DROP VIEW IF EXISTS dependencies_current__with_names;\n")) << four.out;
  // Every retired text comes before the first up text.
  EXPECT_LT(four.out.find("DROP INDEX IF EXISTS \"users___system___idx\";\n"),
            four.out.find("ALTER TABLE \"physical_function_runs\" ADD COLUMN \"logical_function_run_id\" "));
  EXPECT_TRUE(four.out.ends_with("UPDATE quorvale_system SET value = '4' WHERE name = 'db_version';\n"));
}

TEST(CatalogSql, DeltaOutsideTheStepsFails) {
  const Output result = run("delta 14");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
}

TEST(CatalogSql, MigrateWritesThePreBatchTheStepsTheVersionThenThePostBatch) {
  const Output migrate = run("migrate 4");
  ASSERT_EQ(migrate.status, 0);
  // The retired texts newest step first, the up texts oldest step first.
  const schema::current::Source source;
  std::string retired;
  std::string up;
  for (schema::source::Version target = 5; target <= 13; ++target) {
    const auto delta = source.delta(target);
    ASSERT_TRUE(delta);
    std::string step_retired;
    for (const std::string& text : delta->retired) step_retired += text + ";\n";
    retired = step_retired + retired;
    for (const std::string& text : delta->up) up += text + ";\n";
  }
  EXPECT_EQ(migrate.out, retired + run("drops").out + up +
                             "INSERT INTO \"quorvale_system\" (\"name\", \"value\") VALUES ('db_version', '13') "
                             "ON CONFLICT (\"name\") DO UPDATE SET \"value\" = \"excluded\".\"value\";\n" +
                             run("creates").out);
}

TEST(CatalogSql, MigrateFromAVersionWithoutStepsFails) {
  for (const char* version : {"0", "13", "14"}) {
    SCOPED_TRACE(version);
    const Output result = run(std::string("migrate ") + version);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
  }
}

TEST(CatalogSql, V4InstallEndsWithTheVersionRow) {
  const Output install = run("v4-install");
  ASSERT_EQ(install.status, 0);
  EXPECT_TRUE(install.out.starts_with(
      "CREATE TABLE IF NOT EXISTS \"quorvale_system\" ( \"name\" text NOT NULL PRIMARY KEY, \"value\" text NULL );\n"
      "CREATE TABLE \"users\" ( "))
      << install.out;
  EXPECT_TRUE(install.out.ends_with(
      "CREATE POLICY across_projects ON logical_function_run_inputs TO qv_across_projects USING (true) "
      "WITH CHECK (true);\n"
      "INSERT INTO \"quorvale_system\" (\"name\", \"value\") VALUES ('db_version', '4');\n"));
}

TEST(CatalogSql, UnknownCommandIsAUsageError) {
  for (const char* arguments : {"", "delta", "delta x", "delta 4 5", "delta -3", "install extra", "migrate", "migrate x"}) {
    SCOPED_TRACE(arguments);
    const Output result = run(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
  }
}

class CatalogSqlServerTest : public test_support::SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ensure_across_projects_role();
  }

  void TearDown() override {
    std::filesystem::remove(script_);
    SessionFixture::TearDown();
  }

  // Runs what `catalog_sql <command>` writes with psql, in one transaction
  // that the first error ends; psql's messages on failure.
  Output psql(const std::string& command) {
    script_ = std::filesystem::path(::testing::TempDir()) / (database_name() + ".sql");
    setenv("CATALOG_SQL_CONNINFO", conninfo().c_str(), 1);
    return shell(std::string(CATALOG_SQL) + " " + command + " > " + script_.string() +
                 " && psql -X -q -v ON_ERROR_STOP=1 -1 -d \"$CATALOG_SQL_CONNINFO\" -f " + script_.string() + " 2>&1");
  }

  // Views, triggers, indexes not made by constraints, and statistics objects.
  std::vector<std::string> derived_counts() {
    return rows(
        "SELECT (SELECT count(*) FROM pg_views WHERE schemaname = 'public'), "
        "(SELECT count(*) FROM pg_trigger WHERE NOT tgisinternal), "
        "(SELECT count(*) FROM pg_indexes WHERE schemaname = 'public' AND indexname NOT IN "
        "(SELECT conname FROM pg_constraint)), "
        "(SELECT count(*) FROM pg_statistic_ext)");
  }

  std::filesystem::path script_;
};

std::string catalog_counts() {
  const schema::current::Source source;
  std::size_t triggers = 0;
  for (const schema::source::Derived& object : source.triggers()) {
    for (const std::string& text : object.create) triggers += text.starts_with("CREATE TRIGGER ") ? 1 : 0;
  }
  return std::to_string(source.views().size()) + "|" + std::to_string(triggers) + "|" +
         std::to_string(source.indexes().size()) + "|" + std::to_string(source.statistics().size());
}

TEST_F(CatalogSqlServerTest, InstallsOnAnEmptySchemaAndDerivedObjectsDropTwiceAndComeBack) {
  const Output install = psql("install");
  ASSERT_EQ(install.status, 0) << install.out;
  const std::string installed = catalog_counts();
  EXPECT_EQ(derived_counts(), std::vector<std::string>{installed});
  EXPECT_EQ(rows("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"),
            std::vector<std::string>{std::to_string(schema::current::Source().tables().size() + 1)});

  for (int time = 0; time < 2; ++time) {
    const Output drops = psql("drops");
    ASSERT_EQ(drops.status, 0) << drops.out;
  }
  EXPECT_EQ(derived_counts(), std::vector<std::string>{"0|0|0|0"});

  const Output creates = psql("creates");
  ASSERT_EQ(creates.status, 0) << creates.out;
  EXPECT_EQ(derived_counts(), std::vector<std::string>{installed});
}

TEST_F(CatalogSqlServerTest, V4InstallRunsAsOnePsqlTransaction) {
  const Output install = psql("v4-install");
  ASSERT_EQ(install.status, 0) << install.out;
  EXPECT_EQ(rows("SELECT value FROM quorvale_system WHERE name = 'db_version'"), std::vector<std::string>{"4"});
  EXPECT_EQ(rows("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"), std::vector<std::string>{"25"});
}

}  // namespace

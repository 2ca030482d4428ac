#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "test_support/installed_schema.h"

namespace {

struct Output {
  std::string out;
  int status;
};

// Runs a shell command line, collecting its standard output.
Output run_shell(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {"", -1};
  Output result{"", 0};
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) result.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

Output run(const std::string& arguments) {
  return run_shell(std::string(CATALOG_SQL) + " " + arguments + " 2>/dev/null");
}

// `text` as one word of a shell command line.
std::string shell_quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

TEST(CatalogSql, InstallStartsWithTheSystemTableAndEndsWithRowLevelSecurity) {
  const Output install = run("install");
  ASSERT_EQ(install.status, 0);
  EXPECT_TRUE(install.out.starts_with(
      "CREATE TABLE IF NOT EXISTS \"quorvale_system\" ( \"name\" text NOT NULL PRIMARY KEY, \"value\" text NULL );\n"
      "CREATE TABLE \"users\" ( "))
      << install.out;
  EXPECT_TRUE(install.out.ends_with(
      "CREATE POLICY across_projects ON metrics_facts TO qv_across_projects USING (true) WITH CHECK (true);\n"));
  // Tables, then views, then seeds.
  const std::size_t view = install.out.find("CREATE VIEW users__with_names ");
  const std::size_t seed = install.out.find("INSERT INTO \"quorvale_system\"");
  ASSERT_NE(view, std::string::npos);
  ASSERT_NE(seed, std::string::npos);
  EXPECT_LT(view, seed);
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

class CatalogSqlOnServer : public ::test_support::DatabaseFixture {};

TEST_F(CatalogSqlOnServer, V4InstallRunsAsOnePsqlTransaction) {
  auto server = connection::connect(server_conninfo());
  ASSERT_TRUE(server) << connection::describe(server.error());
  schema::test_support::ensure_across_projects_role(*server);
  auto db = connection::connect(conninfo());
  ASSERT_TRUE(db) << connection::describe(db.error());
  ASSERT_TRUE(db->execute_script("CREATE SCHEMA qv_apiserver"));

  const std::filesystem::path script = std::filesystem::temp_directory_path() / (database_name() + "_v4_install.sql");
  ASSERT_EQ(run("v4-install > " + shell_quoted(script)).status, 0);
  const std::string psql = "psql -X -q -v ON_ERROR_STOP=1 -1 -f " + shell_quoted(script) + " " +
                           shell_quoted(conninfo_with({{"options", "-csearch_path=qv_apiserver"}})) + " 2>&1";
  const Output installed = run_shell(psql);
  std::filesystem::remove(script);
  EXPECT_EQ(installed.status, 0) << installed.out;
  EXPECT_EQ(
      ::test_support::query_value(*db, "SELECT value FROM qv_apiserver.quorvale_system WHERE name = 'db_version'"),
      "4");
  EXPECT_EQ(::test_support::query_value(*db, "SELECT count(*) FROM pg_tables WHERE schemaname = 'qv_apiserver'"), "25");
}

TEST(CatalogSql, UnknownCommandIsAUsageError) {
  for (const char* arguments : {"", "delta", "delta x", "delta 4 5", "delta -3", "install extra"}) {
    SCOPED_TRACE(arguments);
    const Output result = run(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace

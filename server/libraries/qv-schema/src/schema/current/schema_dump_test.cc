// The reference dump of a fresh install: what pg_dump sees of the home schema
// after the install batch. A change of the schema shows here as a difference
// to src/schema/current/schema_dump.sql, which is then updated with the
// change, and which the migration tests compare a migrated schema against.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "test_support/installed_schema.h"
#include "test_support/schema_dump.h"

namespace schema::current {
namespace {

using test_support::kReferenceDump;
using test_support::normalise_dump;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The lines between the common beginning and the common end of both texts, as
// one hunk of a unified diff: "-" for the reference, "+" for the install.
std::string difference(const std::string& reference, const std::string& install) {
  const std::vector<std::string> before = lines_of(reference);
  const std::vector<std::string> after = lines_of(install);
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  const auto range = [&](std::size_t count) {
    return std::to_string(count == 0 ? head : head + 1) + "," + std::to_string(count);
  };
  std::string hunk = "@@ -" + range(before.size() - head - tail) + " +" + range(after.size() - head - tail) + " @@\n";
  for (std::size_t i = head; i < before.size() - tail; ++i) hunk += "-" + before[i] + "\n";
  for (std::size_t i = head; i < after.size() - tail; ++i) hunk += "+" + after[i] + "\n";
  return hunk;
}

class SchemaDumpTest : public test_support::InstalledSchemaFixture {};

TEST_F(SchemaDumpTest, FreshInstallMatchesTheReferenceDump) {
  const auto dump = test_support::dump_home_schema(home_conninfo());
  ASSERT_TRUE(dump) << dump.error();
  std::ifstream file(kReferenceDump, std::ios::binary);
  ASSERT_TRUE(file) << "cannot read " << kReferenceDump << " from " << std::filesystem::current_path();
  const std::string reference((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (*dump == reference) return;

  const std::filesystem::path written = std::filesystem::temp_directory_path() / (database_name() + "_dump.sql");
  std::ofstream(written, std::ios::binary) << *dump;
  ADD_FAILURE() << "the installed schema differs from " << kReferenceDump << ":\n"
                << "--- " << kReferenceDump << "\n+++ install\n"
                << difference(reference, *dump) << "The install's dump is " << written.string()
                << "; when the change is meant, copy it over the reference.";
}

TEST(NormaliseDump, KeepsOnlyTheSchemasStatements) {
  const std::string dump =
      "--\n-- PostgreSQL database dump\n--\n\n"
      "\\restrict Ab3dE\n\n"
      "-- Dumped from database version 15.18\n-- Dumped by pg_dump version 15.18\n\n"
      "SET statement_timeout = 0;\nSET client_encoding = 'UTF8';\n"
      "SELECT pg_catalog.set_config('search_path', '', false);\n\n"
      "--\n-- Name: t; Type: TABLE; Schema: s; Owner: -\n--\n\n"
      "CREATE TABLE s.t (\n    id text\n);\n\n\n"
      "ALTER TABLE s.t ENABLE ROW LEVEL SECURITY;\n\n"
      "--\n-- PostgreSQL database dump complete\n--\n\n"
      "\\unrestrict Ab3dE\n\n";
  EXPECT_EQ(normalise_dump(dump),
            "CREATE TABLE s.t (\n    id text\n);\n\nALTER TABLE s.t ENABLE ROW LEVEL SECURITY;\n");
}

}  // namespace
}  // namespace schema::current

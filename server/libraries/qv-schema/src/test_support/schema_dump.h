#pragma once

// The schema-only dump of the home schema, normalised so that dumps of equal
// schemas compare equal as texts whatever the database, the run or the dump
// tool's session settings. The reference dump of a fresh install is kept in
// src/schema/current/schema_dump.sql.

#include <string>
#include <string_view>

#include "result.h"

namespace schema::test_support {

// The file of the reference dump, relative to the folder the tests run in
// (the library's source folder).
inline constexpr const char* kReferenceDump = "src/schema/current/schema_dump.sql";

// Runs "pg_dump --schema-only --no-owner --schema=qv_apiserver" of PostgreSQL 15
// on the database of `conninfo` and returns its normalised output, or the
// tool's messages when it cannot run or fails.
qv_common::Result<std::string, std::string> dump_home_schema(const std::string& conninfo);

// Drops comment lines ("--": the tool's header with its version, the object
// headings), session settings (SET lines and the set_config of search_path),
// the \restrict and \unrestrict lines with their random key, and blank lines
// at the start and end; a run of blank lines becomes one. Every kept line ends
// with a line feed.
std::string normalise_dump(std::string_view dump);

}  // namespace schema::test_support

#pragma once

// DbError, the error of the database layer: a numeric code in the 5000 block
// and the payload that code carries (texts formatted where the failure
// happened, the PostgreSQL client's error, or a found and an expected version).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "connection/error.h"

namespace error {

enum class DbCode : std::uint16_t {
  SystemTableMissing = 5000,
  Outdated = 5001,
  VersionAhead = 5002,
  InvalidSystemValue = 5003,
  WriteFailed = 5008,
  ReadFailed = 5009,
  EditionIncompatible = 5014,
  EditionWriteFailed = 5015,
  EditionNotUpgradable = 5016,
  SystemLayout = 5017,
  ServerTooOld = 5020,
  LoginBypassesRls = 5021,
  MissingPrivilege = 5022,
  UpgradeLocked = 5046,
  InProjectRoleAcrossProjects = 5050,
};

// What a code carries besides the code itself.
enum class Payload { None, OneText, ClientError, TwoTexts, Versions };

Payload payload_of(DbCode code);

// A found and an expected (or required) version.
struct Versions {
  std::int64_t found;
  std::int64_t expected;
};

struct DbError {
  DbCode code;
  std::vector<std::string> texts;
  std::optional<connection::Error> client;
  std::optional<Versions> versions;

  std::uint16_t numeric_code() const { return static_cast<std::uint16_t>(code); }
};

DbError system_table_missing();
DbError outdated(std::string message);
DbError version_ahead(std::string stored);
DbError invalid_system_value(std::string message);
DbError write_failed(connection::Error client);
DbError read_failed(connection::Error client);
DbError edition_incompatible(std::string stored, std::string build);
DbError edition_write_failed(connection::Error client);
DbError edition_not_upgradable(std::string message);
DbError system_layout(std::int64_t found, std::int64_t expected);
DbError server_too_old(std::int64_t found, std::int64_t required);
DbError login_bypasses_rls();
DbError missing_privilege(std::string what);
DbError upgrade_locked(std::string schema);
DbError in_project_role_across_projects();

// The texts of the raised conditions, filled in the order given.
std::string integer_value_message(std::string_view row, std::string_view stored);
std::string missing_row_message(std::string_view row, std::string_view table);
std::string version_message(std::uint64_t stored, std::uint64_t build);
std::string undefined_edition_message(std::string_view build);
std::string edition_message(std::string_view stored, std::string_view build);
std::string not_upgradable_message(std::string_view stored, std::string_view build);
// A stored schema version that no chain of version steps leads on from.
std::string cannot_migrate_message(std::uint64_t stored, std::string_view reason);

// One human-readable line (or more, for a client error with details).
std::string message(const DbError& error);

}  // namespace error

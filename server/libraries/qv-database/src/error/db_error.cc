#include "error/db_error.h"

#include <fmt/format.h>

#include <utility>

namespace error {
namespace {

DbError with_texts(DbCode code, std::vector<std::string> texts) { return DbError{code, std::move(texts), {}, {}}; }

DbError with_client(DbCode code, connection::Error client) { return DbError{code, {}, std::move(client), {}}; }

DbError with_versions(DbCode code, std::int64_t found, std::int64_t expected) {
  return DbError{code, {}, {}, Versions{found, expected}};
}

std::string text(const DbError& error, std::size_t index) {
  return index < error.texts.size() ? error.texts[index] : std::string();
}

std::string client(const DbError& error) { return error.client ? connection::describe(*error.client) : std::string(); }

}  // namespace

Payload payload_of(DbCode code) {
  switch (code) {
    case DbCode::SystemTableMissing:
    case DbCode::LoginBypassesRls:
    case DbCode::InProjectRoleAcrossProjects:
      return Payload::None;
    case DbCode::Outdated:
    case DbCode::VersionAhead:
    case DbCode::InvalidSystemValue:
    case DbCode::EditionNotUpgradable:
    case DbCode::MissingPrivilege:
    case DbCode::UpgradeLocked:
      return Payload::OneText;
    case DbCode::WriteFailed:
    case DbCode::ReadFailed:
    case DbCode::EditionWriteFailed:
      return Payload::ClientError;
    case DbCode::EditionIncompatible:
      return Payload::TwoTexts;
    case DbCode::SystemLayout:
    case DbCode::ServerTooOld:
      return Payload::Versions;
  }
  return Payload::None;
}

DbError system_table_missing() { return with_texts(DbCode::SystemTableMissing, {}); }
DbError outdated(std::string message) { return with_texts(DbCode::Outdated, {std::move(message)}); }
DbError version_ahead(std::string stored) { return with_texts(DbCode::VersionAhead, {std::move(stored)}); }
DbError invalid_system_value(std::string message) {
  return with_texts(DbCode::InvalidSystemValue, {std::move(message)});
}
DbError write_failed(connection::Error client) { return with_client(DbCode::WriteFailed, std::move(client)); }
DbError read_failed(connection::Error client) { return with_client(DbCode::ReadFailed, std::move(client)); }
DbError edition_incompatible(std::string stored, std::string build) {
  return with_texts(DbCode::EditionIncompatible, {std::move(stored), std::move(build)});
}
DbError edition_write_failed(connection::Error client) {
  return with_client(DbCode::EditionWriteFailed, std::move(client));
}
DbError edition_not_upgradable(std::string message) {
  return with_texts(DbCode::EditionNotUpgradable, {std::move(message)});
}
DbError system_layout(std::int64_t found, std::int64_t expected) {
  return with_versions(DbCode::SystemLayout, found, expected);
}
DbError server_too_old(std::int64_t found, std::int64_t required) {
  return with_versions(DbCode::ServerTooOld, found, required);
}
DbError login_bypasses_rls() { return with_texts(DbCode::LoginBypassesRls, {}); }
DbError missing_privilege(std::string what) { return with_texts(DbCode::MissingPrivilege, {std::move(what)}); }
DbError upgrade_locked(std::string schema) { return with_texts(DbCode::UpgradeLocked, {std::move(schema)}); }
DbError in_project_role_across_projects() { return with_texts(DbCode::InProjectRoleAcrossProjects, {}); }

std::string integer_value_message(std::string_view row, std::string_view stored) {
  return fmt::format("'{}' value '{}' must be an integer", row, stored);
}

std::string missing_row_message(std::string_view row, std::string_view table) {
  return fmt::format("Missing '{}' row in '{}'", row, table);
}

std::string version_message(std::uint64_t stored, std::uint64_t build) {
  return fmt::format("Quorvale database version is '{}', binary database version is '{}'", stored, build);
}

std::string undefined_edition_message(std::string_view build) {
  return fmt::format("instance edition is undefined, binary edition is '{}'", build);
}

std::string edition_message(std::string_view stored, std::string_view build) {
  return fmt::format("instance edition is '{}', binary edition is '{}'", stored, build);
}

std::string not_upgradable_message(std::string_view stored, std::string_view build) {
  return fmt::format("instance edition is '{}' cannot be upgraded to '{}'", stored, build);
}

std::string cannot_migrate_message(std::uint64_t stored, std::string_view reason) {
  return fmt::format("'db_version' value '{}' cannot be migrated: {}", stored, reason);
}

std::string message(const DbError& error) {
  switch (error.code) {
    case DbCode::SystemTableMissing:
      return "The system table 'quorvale_system' does not exist";
    case DbCode::Outdated:
    case DbCode::InvalidSystemValue:
    case DbCode::EditionNotUpgradable:
      return text(error, 0);
    case DbCode::VersionAhead:
      return fmt::format("Quorvale database version '{}' is newer than the binary's", text(error, 0));
    case DbCode::WriteFailed:
      return "Database statement failed: " + client(error);
    case DbCode::ReadFailed:
      return "Database query failed: " + client(error);
    case DbCode::EditionIncompatible:
      return fmt::format("instance edition '{}' is not compatible with binary edition '{}'", text(error, 0),
                         text(error, 1));
    case DbCode::EditionWriteFailed:
      return "Writing the edition failed: " + client(error);
    case DbCode::SystemLayout:
      return fmt::format("'quorvale_version' is {}, expected {}", error.versions->found, error.versions->expected);
    case DbCode::ServerTooOld:
      return fmt::format("PostgreSQL server_version_num is {}, at least {} is required", error.versions->found,
                         error.versions->expected);
    case DbCode::LoginBypassesRls:
      return "The serving login, or a role it is a member of, is a superuser, bypasses row-level security, has "
             "CREATEROLE or REPLICATION, or is pg_read_server_files, pg_write_server_files or "
             "pg_execute_server_program";
    case DbCode::MissingPrivilege:
      return "Missing privilege: " + text(error, 0);
    case DbCode::UpgradeLocked:
      return fmt::format("A schema upgrade of '{}' is running in another transaction", text(error, 0));
    case DbCode::InProjectRoleAcrossProjects:
      return "The in-project role is a member of 'qv_across_projects'";
  }
  return "Unknown database error";
}

}  // namespace error

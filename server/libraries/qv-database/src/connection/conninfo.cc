#include "connection/conninfo.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

#include "connection/setting_values.h"

namespace connection {
namespace {

struct FreeOptions {
  void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

std::string quoted(std::string_view value) {
  std::string text = "'";
  for (char c : value) {
    if (c == '\'' || c == '\\') text += '\\';
    text += c;
  }
  return text + "'";
}

// A setting's value, falling back on libpq's environment variable for it.
std::string effective(const Settings& settings, std::string_view keyword, const char* variable) {
  if (const std::string* value = find_setting(settings, keyword)) return *value;
  const char* from_environment = std::getenv(variable);
  return from_environment == nullptr ? std::string() : std::string(from_environment);
}

// libpq's test: a URI starts with one of its two scheme prefixes.
bool is_uri(std::string_view conninfo) {
  return conninfo.starts_with("postgresql://") || conninfo.starts_with("postgres://");
}

}  // namespace

qv_common::Result<Settings, Error> parse_conninfo(std::string_view conninfo) {
  char* message = nullptr;
  std::unique_ptr<PQconninfoOption, FreeOptions> options(PQconninfoParse(std::string(conninfo).c_str(), &message));
  if (!options) {
    // libpq's message quotes the token it stopped at, which may be a password.
    const bool out_of_memory = message == nullptr;
    PQfreemem(message);
    if (out_of_memory) return qv_common::fail(client_error(ErrorKind::Connect, "out of memory"));
    return qv_common::fail(
        client_error(ErrorKind::Connect, std::string(is_uri(conninfo) ? kMalformedUri : kMalformedConninfo)));
  }
  Settings settings;
  for (const PQconninfoOption* option = options.get(); option->keyword != nullptr; ++option) {
    if (option->val != nullptr) settings.emplace_back(option->keyword, option->val);
  }
  if (std::optional<std::string> refused = refused_setting(settings)) {
    return qv_common::fail(client_error(ErrorKind::Connect, refused_value_message(*refused)));
  }
  return settings;
}

std::string refused_value_message(std::string_view keyword) {
  return "The connection string's '" + std::string(keyword) +
         "' value is not valid (its text is left out of this message)";
}

void set_setting(Settings& settings, std::string_view keyword, std::string value) {
  auto found = std::find_if(settings.begin(), settings.end(), [&](const auto& setting) { return setting.first == keyword; });
  if (found == settings.end()) {
    settings.emplace_back(std::string(keyword), std::move(value));
  } else {
    found->second = std::move(value);
  }
}

const std::string* find_setting(const Settings& settings, std::string_view keyword) {
  auto found = std::find_if(settings.begin(), settings.end(), [&](const auto& setting) { return setting.first == keyword; });
  return found == settings.end() ? nullptr : &found->second;
}

std::string render_conninfo(const Settings& settings) {
  std::string text;
  for (const auto& [keyword, value] : settings) {
    if (!text.empty()) text += ' ';
    text += keyword + "=" + quoted(value);
  }
  return text;
}

void default_root_certificate(Settings& settings) {
  std::string mode = effective(settings, "sslmode", "PGSSLMODE");
  if (mode != "verify-ca" && mode != "verify-full") return;
  if (!effective(settings, "sslrootcert", "PGSSLROOTCERT").empty()) return;
  set_setting(settings, "sslrootcert", kSystemCertificates);
}

}  // namespace connection

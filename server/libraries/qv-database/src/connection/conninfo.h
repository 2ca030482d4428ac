#pragma once

// Connection strings as libpq reads them (key=value or URI), taken apart into
// settings so that a caller can add or replace one and write the string again.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "connection/error.h"
#include "result.h"

namespace connection {

// libpq keywords and their values, only those given, in the order given.
using Settings = std::vector<std::pair<std::string, std::string>>;

// A connection string that does not parse, or a value that libpq would
// refuse when it connects, is reported without any of the string's text: a
// token or value libpq would quote may be a misplaced password.
inline constexpr std::string_view kMalformedConninfo =
    "The connection string does not parse as keyword=value settings: an unknown keyword, a missing '=' or an "
    "unclosed quote (its text is left out of this message)";
inline constexpr std::string_view kMalformedUri =
    "The connection URI does not parse (its text is left out of this message)";
// Names the keyword alone.
std::string refused_value_message(std::string_view keyword);

// The settings of a key=value or URI connection string; a malformed one, or
// one with a value libpq refuses (connection/setting_values.h), is an
// ErrorKind::Connect error with one of the messages above.
qv_common::Result<Settings, Error> parse_conninfo(std::string_view conninfo);

// Sets `keyword` to `value`, in place of an earlier value.
void set_setting(Settings& settings, std::string_view keyword, std::string value);

// The value of `keyword`; none when it is not set.
const std::string* find_setting(const Settings& settings, std::string_view keyword);

// A key='value' connection string, with quotes and backslashes escaped.
std::string render_conninfo(const Settings& settings);

// Verification of the server certificate (sslmode verify-ca or verify-full,
// from the settings or PGSSLMODE) with no root certificate named (in the
// settings or PGSSLROOTCERT) uses the system's certificate bundle.
inline constexpr const char* kSystemCertificates = "/etc/ssl/certs/ca-certificates.crt";
void default_root_certificate(Settings& settings);

}  // namespace connection

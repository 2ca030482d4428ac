#include "connection/setting_values.h"

#include <netdb.h>
#include <strings.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace connection {
namespace {

constexpr std::array<const char*, 4> kProtocolVersions = {"TLSv1", "TLSv1.1", "TLSv1.2", "TLSv1.3"};

// libpq's integer rule: strtol's form (leading white space, a sign), the
// whole text read but for trailing white space, within an int.
std::optional<int> integer(const std::string& value) {
  char* end = nullptr;
  errno = 0;
  long number = std::strtol(value.c_str(), &end, 10);
  if (end == value.c_str() || errno != 0 || number != static_cast<int>(number)) return std::nullopt;
  while (*end != '\0' && std::isspace(static_cast<unsigned char>(*end))) ++end;
  if (*end != '\0') return std::nullopt;
  return static_cast<int>(number);
}

// The entries of a comma-separated list, as libpq splits ports and
// addresses.
std::vector<std::string> entries(const std::string& value) {
  std::vector<std::string> list(1);
  for (char c : value) {
    if (c == ',') {
      list.emplace_back();
    } else {
      list.back() += c;
    }
  }
  return list;
}

// An empty entry stands for the default port.
bool port_list(const std::string& value) {
  const std::vector<std::string> ports = entries(value);
  return std::all_of(ports.begin(), ports.end(), [](const std::string& port) {
    if (port.empty()) return true;
    std::optional<int> number = integer(port);
    return number && *number >= 1 && *number <= 65535;
  });
}

// An empty entry leaves its host to name the server.
bool numeric_address_list(const std::string& value) {
  const std::vector<std::string> addresses = entries(value);
  return std::all_of(addresses.begin(), addresses.end(), [](const std::string& address) {
    if (address.empty()) return true;
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST;
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const bool numeric = getaddrinfo(address.c_str(), nullptr, &hints, &found) == 0;
    if (found != nullptr) freeaddrinfo(found);
    return numeric;
  });
}

// A '@' in a host is the rest of a URI's password whose '@' went unescaped,
// and libpq's name-lookup error would quote it. An entry may begin with
// one: that names a socket in the abstract namespace.
bool host_list(const std::string& value) {
  const std::vector<std::string> hosts = entries(value);
  return std::all_of(hosts.begin(), hosts.end(),
                     [](const std::string& host) { return host.find('@', 1) == std::string::npos; });
}

bool any_integer(const std::string& value) { return integer(value).has_value(); }

bool one_of(const std::string& value, std::initializer_list<std::string_view> modes) {
  return std::find(modes.begin(), modes.end(), value) != modes.end();
}

bool ssl_mode(const std::string& value) {
  return one_of(value, {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"});
}

bool negotiation_mode(const std::string& value) { return one_of(value, {"disable", "prefer", "require"}); }

bool session_attributes(const std::string& value) {
  return one_of(value, {"any", "read-write", "read-only", "primary", "standby", "prefer-standby"});
}

// Empty means no bound; the names are read without regard to case.
bool protocol_version(const std::string& value) {
  if (value.empty()) return true;
  return std::any_of(kProtocolVersions.begin(), kProtocolVersions.end(),
                     [&](const char* version) { return strcasecmp(value.c_str(), version) == 0; });
}

using Rule = bool (*)(const std::string& value);

constexpr std::pair<std::string_view, Rule> kRules[] = {
    {"port", port_list},
    {"host", host_list},
    {"hostaddr", numeric_address_list},
    {"connect_timeout", any_integer},
    {"keepalives", any_integer},
    {"keepalives_idle", any_integer},
    {"keepalives_interval", any_integer},
    {"keepalives_count", any_integer},
    {"tcp_user_timeout", any_integer},
    {"sslmode", ssl_mode},
    {"gssencmode", negotiation_mode},
    {"channel_binding", negotiation_mode},
    {"target_session_attrs", session_attributes},
    {"ssl_min_protocol_version", protocol_version},
    {"ssl_max_protocol_version", protocol_version},
};

bool accepted(std::string_view keyword, const std::string& value) {
  for (const auto& [ruled, rule] : kRules) {
    if (ruled == keyword) return rule(value);
  }
  return true;
}

}  // namespace

std::optional<std::string> refused_setting(const Settings& settings) {
  for (const auto& [keyword, value] : settings) {
    if (!accepted(keyword, value)) return keyword;
  }
  return std::nullopt;
}

}  // namespace connection

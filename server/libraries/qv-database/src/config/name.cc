#include "config/name.h"

#include <fmt/format.h>

#include <algorithm>

namespace config::name {
namespace {

constexpr std::size_t kMaxLength = 63;

bool is_lower_or_underscore(char c) { return (c >= 'a' && c <= 'z') || c == '_'; }
bool is_name_character(char c) { return is_lower_or_underscore(c) || (c >= '0' && c <= '9'); }

bool is_valid(std::string_view name) {
  return !name.empty() && name.size() <= kMaxLength && is_lower_or_underscore(name.front()) &&
         std::all_of(name.begin(), name.end(), is_name_character) && !name.starts_with("pg_");
}

bool is_reserved_role_name(std::string_view name) { return name == "public" || name == "none"; }

}  // namespace

qv_common::Result<std::string, std::string> checked_name(std::string_view field, std::string_view name) {
  if (is_valid(name)) return std::string(name);
  return qv_common::fail(std::string(field) + ": '" + std::string(name) +
                         "' is not a valid name (a lower-case letter or underscore, then up to 62 lower-case "
                         "letters, digits or underscores; not beginning with pg_)");
}

qv_common::Result<std::string, std::string> checked_role_name(std::string_view field, std::string_view name) {
  QV_ASSIGN_OR_RETURN(std::string checked, checked_name(field, name));
  if (!is_reserved_role_name(checked)) return checked;
  return qv_common::fail(fmt::format(
      "{}: '{}' is reserved by PostgreSQL, where it stands for every role or for none; name a role of its own", field,
      checked));
}

qv_common::Result<void, std::string> not_group_role(std::string_view field, std::string_view name,
                                                    std::string_view group) {
  if (name != group) return {};
  return qv_common::fail(fmt::format(
      "{}: '{}' is the cross-project group role, which provisioning manages; name a role of its own", field, name));
}

qv_common::Result<void, std::string> distinct_roles(std::string_view field, std::string_view name,
                                                    std::string_view other_field, std::string_view other_name) {
  if (name != other_name) return {};
  return qv_common::fail(
      fmt::format("{}: '{}' is already the {} role; each role needs a name of its own", field, name, other_field));
}

}  // namespace config::name

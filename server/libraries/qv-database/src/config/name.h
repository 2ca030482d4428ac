#pragma once

// Names of schemas and roles. They are written into SQL texts as they are
// (inside quotes, never escaped), so only plain lower-case identifiers pass:
// a lower-case letter or underscore, then up to 62 lower-case letters,
// digits or underscores, and not the reserved prefix pg_.

#include <string>
#include <string_view>

#include "result.h"

namespace config::name {

// `name` itself, or an error naming `field`: "in_project: 'x' is not a
// valid name (...)".
qv_common::Result<std::string, std::string> checked_name(std::string_view field, std::string_view name);

// A role name: checked_name, and not one of the names PostgreSQL reserves
// in role lists ("public" stands for every role there, "none" for none).
qv_common::Result<std::string, std::string> checked_role_name(std::string_view field, std::string_view name);

// Refuses `name` when it is the group role `group`, which only provisioning
// creates and grants: "in_project: 'qv_across_projects' is the ...".
qv_common::Result<void, std::string> not_group_role(std::string_view field, std::string_view name,
                                                    std::string_view group);

// Refuses two fields that name one role: "across_projects: 'x' is already
// the in_project role; ...".
qv_common::Result<void, std::string> distinct_roles(std::string_view field, std::string_view name,
                                                    std::string_view other_field, std::string_view other_name);

}  // namespace config::name

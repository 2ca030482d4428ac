#pragma once
// A database as version 4 left it, for tests of the steps that start there:
// the texts that install the frozen version-4 schema on an empty schema.

#include <string>
#include <vector>

namespace schema::archive::v4 {

// In order: the system table; the version-4 tables; the creates of their
// triggers, views, indexes and statistics; the seeds; row-level security on
// the 18 project-scoped tables of version 4; the "db_version" row '4'.
// The policies name the role "qv_across_projects", which must exist.
std::vector<std::string> v4_install_texts();

}  // namespace schema::archive::v4

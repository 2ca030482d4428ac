#pragma once
// Row-level security of the project-scoped tables: each session names its
// project in "app.project_id"; other projects' rows are invisible and cannot
// be written, except for members of "qv_across_projects".

#include <string>
#include <string_view>
#include <vector>

namespace schema::sql::rls {

// Five statements per project-scoped table, tables in a fixed order. They
// create policies, so they run once, on a fresh schema.
std::vector<std::string> rls();

// The five statements of one project-scoped table: the project default of
// its project_id, forced row-level security and the two policies.
std::vector<std::string> table_rls(std::string_view table);

// CREATE POLICY project_isolation ON <table> USING (...) WITH CHECK (...)
std::string isolation_policy(std::string_view table);
// CREATE POLICY across_projects ON <table> TO qv_across_projects ...
std::string across_projects_policy(std::string_view table);

}  // namespace schema::sql::rls

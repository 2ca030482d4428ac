#include "schema/deltas/v8_to_v9.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "schema/deltas/shared.h"
#include "schema/render.h"
#include "sqlbuilder/column.h"
#include "sqlbuilder/render.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/table.h"
#include "sqlbuilder/template.h"
#include "sqlbuilder/update.h"

namespace schema::deltas::v8_to_v9 {

using render::render_query;
using render::render_schema;
using sqlbuilder::Case;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::Expr;
using sqlbuilder::Iden;
using sqlbuilder::TableAlter;
using sqlbuilder::Update;
using sqlbuilder::val;

namespace {

// The system groups that every project shared before version 9.
struct SystemGroup {
  std::string_view old_id;
  std::string_view suffix;  // ends the project's own id
  std::string_view kind;
};

constexpr std::array<SystemGroup, 3> kSystemIds = {{
    {"00000000000000000000000208", "4", "default"},
    {"0000000000000000000000020c", "8", "sources"},
    {"0000000000000000000000020g", "c", "destinations"},
}};

constexpr std::array<std::string_view, 4> kGroupChildren = {"collections", "logical_function_runs",
                                                            "logical_table_data_versions", "transactions"};

// The names the step calls its functions by: bare in the statements that
// move rows, qualified in the collision check, which runs its own text with
// the home schema on the search path and must call pg_catalog's alone (its
// operators take text on both sides, which pg_catalog, searched first,
// holds exactly).
struct Functions {
  std::string_view left;
  std::string_view min;
};
constexpr Functions kBare = {"left", "min"};
constexpr Functions kCatalog = {"pg_catalog.left", "pg_catalog.min"};

Expr text(std::string_view value) { return val(std::string(value)); }

std::vector<Expr> old_ids() {
  std::vector<Expr> ids;
  for (const SystemGroup& group : kSystemIds) ids.push_back(text(group.old_id));
  return ids;
}

std::string alter(TableAlter& statement) { return render_schema(statement); }

Expr keeper(const Functions& functions) {
  sqlbuilder::Select select;
  select.expr(sqlbuilder::func(std::string(functions.min), {col("project_id")}))
      .from("groups")
      .and_where(col("id").in(old_ids()));
  return sqlbuilder::subquery(select);
}

// A shared group's id in `column`, on a row of a project other than the
// keeper: the rows the step renumbers.
Expr renumbered(std::string_view column, const Functions& functions) {
  return col(Iden(column)).in(old_ids()).and_(col("project_id").ne(keeper(functions)));
}

// The project's own id for a shared group in `column`: the first 25
// characters of the project id and the group's suffix.
Expr own_id(std::string_view column, const Functions& functions) {
  Case suffix;
  for (const SystemGroup& group : kSystemIds) suffix.when(col(Iden(column)).eq(text(group.old_id)), text(group.suffix));
  return sqlbuilder::func(std::string(functions.left), {col("project_id"), val(25)}).concat(suffix.end());
}

Update renumber(std::string_view table, std::string_view column) {
  Update update;
  update.table(Iden(table)).set(Iden(column), own_id(column, kBare)).and_where(renumbered(column, kBare));
  return update;
}

// A group's kind by its id: one of the shared ones, or "custom".
Expr kind() {
  Case kind;
  for (const SystemGroup& group : kSystemIds) kind.when(col("id").eq(text(group.old_id)), text(group.kind));
  return kind.otherwise(text("custom")).end();
}

Update group_kinds() {
  Update update;
  update.table("groups").set("kind", kind());
  return update;
}

// Stops the step before any change while two rows would hold one key once
// groups and connections are keyed by their id alone: two groups once the
// shared groups are renumbered (another project's group may already hold a
// project's new id), naming each id and the groups of the projects that
// would hold it; then two connections, which version 4 keys by project and
// id, naming each id and its projects.
constexpr const char* kUniqueIds = R"sql(DO $$
DECLARE
  collisions text;
BEGIN
  SELECT pg_catalog.string_agg(pg_catalog.format('%s: %s', id, holders), '; ' ORDER BY id)
  INTO collisions
  FROM (
    SELECT id, pg_catalog.string_agg(holder, ', ' ORDER BY holder) AS holders
    FROM ({}) AS renumbered
    GROUP BY id HAVING pg_catalog.count(*) > 1
  ) AS shared;
  IF collisions IS NOT NULL THEN
    RAISE EXCEPTION
      'Group ids must be unique once each project has system groups of its own; give the other groups of each id another id or delete them, then upgrade again: %',
      collisions;
  END IF;
  SELECT pg_catalog.string_agg(pg_catalog.format('%s: projects %s', id, projects), '; ' ORDER BY id)
  INTO collisions
  FROM (
    SELECT id, pg_catalog.string_agg(project_id, ', ' ORDER BY project_id) AS projects
    FROM connections
    GROUP BY id HAVING pg_catalog.count(*) > 1
  ) AS shared;
  IF collisions IS NOT NULL THEN
    RAISE EXCEPTION
      'Connection ids must be unique across projects once connections are keyed by their id alone; give the other connections of each id another id or delete them, then upgrade again: %',
      collisions;
  END IF;
END $$)sql";

std::string unique_ids() {
  Case id;
  id.when(renumbered("id", kCatalog), own_id("id", kCatalog)).otherwise(col("id"));
  sqlbuilder::Select groups;
  groups.expr_as(id.end(), "id")
      .expr_as(kind().concat(text(" group of project ")).concat(col("project_id")), "holder")
      .from("groups");
  return sqlbuilder::format_template(kUniqueIds, {sqlbuilder::to_sql(groups)});
}

std::string drop_constraint(std::string_view table, std::string_view constraint) {
  TableAlter statement;
  statement.table(Iden(table)).drop_constraint(Iden(constraint));
  return alter(statement);
}

std::string add_restricting_key(std::string_view table, std::string_view column, std::string_view target) {
  TableAlter statement;
  statement.table(Iden(table)).add_foreign_key({Iden(column)}, Iden(target), {"id"});
  return alter(statement);
}

}  // namespace

Expr keeper_project() { return keeper(kBare); }

source::Delta delta() {
  std::vector<std::string> up = {unique_ids()};
  // The keys that name a group or a connection with its project go first.
  for (const std::string_view child : kGroupChildren) {
    up.push_back(drop_constraint(child, std::string(child) + "_project_id_group_id_fkey"));
  }
  up.push_back(drop_constraint("collections", "collections_project_id_connection_id_fkey"));

  TableAlter add_kind;
  add_kind.table("groups").add_column(ColumnDef("kind").text().null());
  up.push_back(alter(add_kind));
  up.push_back(render_query(group_kinds()));
  TableAlter require_kind;
  require_kind.table("groups").modify_column(ColumnDef("kind").text().not_null());
  up.push_back(alter(require_kind));

  // Children before their groups: nothing ties them together until the new
  // keys below.
  for (const std::string_view child : kGroupChildren) up.push_back(render_query(renumber(child, "group_id")));
  up.push_back(render_query(renumber("groups", "id")));

  up.push_back(drop_constraint("groups", "groups_pkey"));
  up.push_back(R"sql(ALTER TABLE "groups" ADD PRIMARY KEY ("id"))sql");
  up.push_back(drop_constraint("connections", "connections_pkey"));
  up.push_back(R"sql(ALTER TABLE "connections" ADD PRIMARY KEY ("id"))sql");
  for (const std::string_view child : kGroupChildren) up.push_back(add_restricting_key(child, "group_id", "groups"));
  up.push_back(add_restricting_key("collections", "connection_id", "connections"));
  up.push_back(render::update_db_version(9));

  return {std::move(up), shared::drop_indexes({
                             "collections___project_id__group_id___idx",
                             "groups___id___idx",
                             "logical_function_runs___project_id__group_id___idx",
                             "logical_table_data_versions___project_id__group_id___idx",
                             "transactions___project_id__group_id___idx",
                         })};
}

}  // namespace schema::deltas::v8_to_v9

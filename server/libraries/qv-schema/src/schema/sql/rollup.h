#pragma once
// A summary that a parent row keeps of its children: a status derived from
// the children's statuses by a ladder of arms, the first start and the last
// end of the parent's attempts (or of the children themselves). `backfill`
// recomputes the summary of every parent in one UPDATE that writes only the
// rows whose summary changed.

#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/update.h"

namespace schema::sql::rollup {

using Statuses = std::vector<std::string_view>;

// Every child's status is in `statuses`.
struct All {
  Statuses statuses;
  std::string_view result;
};

// Every child's status is in `statuses` and at least one is in `others`.
struct AllAndAny {
  Statuses statuses;
  Statuses others;
  std::string_view result;
};

// At least one child's status is in `statuses`.
struct Any {
  Statuses statuses;
  std::string_view result;
};

using Arm = std::variant<All, AllAndAny, Any>;

struct Instants {
  sqlbuilder::Iden started;
  sqlbuilder::Iden ended;
};

struct RollupDef {
  // The parent table and the summary columns the backfill writes.
  sqlbuilder::Iden table;
  sqlbuilder::Iden key;
  sqlbuilder::Iden status_column;
  sqlbuilder::Iden started_column;
  sqlbuilder::Iden ended_column;
  // The children whose statuses make the parent's status.
  sqlbuilder::Iden child_table;
  sqlbuilder::Iden child_parent_column;
  sqlbuilder::Iden child_status_column;
  // The attempts whose instants make the parent's span.
  sqlbuilder::Iden run_table;
  sqlbuilder::Iden run_parent_column;
  sqlbuilder::Iden run_started_column;
  sqlbuilder::Iden run_ended_column;
  // When set, the span comes from these columns of the children instead and
  // the attempts are not read.
  std::optional<Instants> child_instants;
  // The first matching arm gives the status; at least one arm.
  std::vector<Arm> ladder;
  std::string_view default_status;
  // A parent is finished, and gets its end, when every child is in these.
  Statuses finished_statuses;
};

// count(*) FILTER (WHERE "children"."<status>" IN ('A', 'B'))
sqlbuilder::Expr count_in(const RollupDef& def, const Statuses& statuses);
// count("children"."<status>"): 0 for a parent without children.
sqlbuilder::Expr count_all(const RollupDef& def);

// UPDATE "<table>" AS "target" SET ... FROM (<summary>) AS "summary" WHERE ...
// An empty ladder stops the program with "a ladder has at least one arm".
sqlbuilder::Update backfill(const RollupDef& def);

namespace detail {

// What sets the version-4 rollup apart: its name for the children and its
// count of all children.
struct Generation {
  std::string_view children_alias;
  // count(*), which counts the empty row that a parent without children
  // gets from the outer join, instead of count of the children's statuses.
  bool count_all_rows;
};

sqlbuilder::Update backfill(const RollupDef& def, const Generation& generation);

}  // namespace detail
}  // namespace schema::sql::rollup

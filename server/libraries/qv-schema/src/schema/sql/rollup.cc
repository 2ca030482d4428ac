#include "schema/sql/rollup.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sqlbuilder/select.h"

namespace schema::sql::rollup {

using sqlbuilder::Case;
using sqlbuilder::col;
using sqlbuilder::Expr;
using sqlbuilder::func;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::val;

namespace {

constexpr detail::Generation kCurrent{"children", false};

Expr text(std::string_view value) { return val(std::string(value)); }

Expr count_rows() { return func("count", {sqlbuilder::asterisk()}); }

Expr count_in(const RollupDef& def, const Statuses& statuses, const detail::Generation& generation) {
  std::vector<Expr> list;
  for (const std::string_view status : statuses) list.push_back(text(status));
  return count_rows().filter(col(generation.children_alias, def.child_status_column).in(std::move(list)));
}

Expr count_all(const RollupDef& def, const detail::Generation& generation) {
  if (generation.count_all_rows) return count_rows();
  return func("count", {col(generation.children_alias, def.child_status_column)});
}

Expr status(const RollupDef& def, const detail::Generation& generation) {
  if (def.ladder.empty()) {
    // A status without any arm is a defect of the definition.
    std::fputs("a ladder has at least one arm\n", stderr);
    std::abort();
  }
  const auto every = [&](const Statuses& statuses) {
    return count_in(def, statuses, generation).eq(count_all(def, generation));
  };
  const auto some = [&](const Statuses& statuses) { return count_in(def, statuses, generation).gt(val(0)); };
  Case ladder;
  for (const Arm& arm : def.ladder) {
    if (const auto* all = std::get_if<All>(&arm)) {
      ladder.when(every(all->statuses), text(all->result));
    } else if (const auto* both = std::get_if<AllAndAny>(&arm)) {
      ladder.when(every(both->statuses).and_(some(both->others)), text(both->result));
    } else {
      const Any& any = std::get<Any>(arm);
      ladder.when(some(any.statuses), text(any.result));
    }
  }
  return ladder.otherwise(text(def.default_status)).end();
}

// The span of each parent's attempts.
Select instants(const RollupDef& def) {
  Select select;
  select.expr_as(col("physical_runs", def.run_parent_column), "parent_id")
      .expr_as(func("min", {col("physical_runs", def.run_started_column)}), "started_on")
      .expr_as(func("max", {col("physical_runs", def.run_ended_column)}), "ended_on")
      .from_as(def.run_table, "physical_runs")
      .group_by(col("physical_runs", def.run_parent_column));
  return select;
}

// One row per parent: its id, status, whether it is finished, and its span.
Select summary(const RollupDef& def, const detail::Generation& generation) {
  const sqlbuilder::Iden children(generation.children_alias);
  const Expr parent_key = col("parents", def.key);
  const Expr started = def.child_instants ? col(children, def.child_instants->started) : col("instants", "started_on");
  const Expr ended = def.child_instants ? col(children, def.child_instants->ended) : col("instants", "ended_on");
  Select select;
  select.expr_as(parent_key, "id")
      .expr_as(status(def, generation), "status")
      .expr_as(count_in(def, def.finished_statuses, generation).eq(count_rows()), "finished")
      .expr_as(func("min", {started}), "started_on")
      .expr_as(func("max", {ended}), "ended_on")
      .from_as(def.table, "parents")
      .join_as(JoinType::Left, def.child_table, children, col(children, def.child_parent_column).eq(parent_key));
  if (!def.child_instants) {
    select.join_subquery(JoinType::Left, instants(def), "instants", col("instants", "parent_id").eq(parent_key));
  }
  select.group_by(parent_key);
  return select;
}

}  // namespace

Expr count_in(const RollupDef& def, const Statuses& statuses) { return count_in(def, statuses, kCurrent); }

Expr count_all(const RollupDef& def) { return count_all(def, kCurrent); }

sqlbuilder::Update backfill(const RollupDef& def) { return detail::backfill(def, kCurrent); }

namespace detail {

sqlbuilder::Update backfill(const RollupDef& def, const Generation& generation) {
  // An unfinished parent has no end yet.
  const Expr ended = Case().when(col("summary", "finished"), col("summary", "ended_on")).end();
  sqlbuilder::Update update;
  update.table_as(def.table, "target")
      .set(def.status_column, col("summary", "status"))
      .set(def.started_column, col("summary", "started_on"))
      .set(def.ended_column, ended)
      .from_subquery(summary(def, generation), "summary")
      .and_where(col("target", def.key).eq(col("summary", "id")))
      .and_where(col("target", def.status_column)
                     .is_distinct_from(col("summary", "status"))
                     .or_(col("target", def.started_column).is_distinct_from(col("summary", "started_on")))
                     .or_(col("target", def.ended_column).is_distinct_from(ended)));
  return update;
}

}  // namespace detail
}  // namespace schema::sql::rollup

#include "schema/sql/trigger.h"

#include "sqlbuilder/template.h"

namespace schema::sql::trigger {
namespace {

using sqlbuilder::format_template;

// Ends the new version where the next later version of its key starts and
// cuts earlier versions at its start, so versions inserted in any order chain
// without gaps or overlaps. The advisory lock serialises inserts of one key.
constexpr std::string_view kCloseFunction =
    "CREATE OR REPLACE FUNCTION {0}_fn() RETURNS TRIGGER AS $$\n"
    "BEGIN\n"
    "  PERFORM pg_advisory_xact_lock(hashtextextended('{1}:' || NEW.{2}, 0));\n"
    "  SELECT COALESCE(MIN({3}), 'infinity') INTO NEW.{4}\n"
    "  FROM {1}\n"
    "  WHERE {2} = NEW.{2}\n"
    "    AND ({3}, {5}) > (NEW.{3}, NEW.{5}){6};\n"
    "  UPDATE {1} SET {4} = NEW.{3}\n"
    "  WHERE {2} = NEW.{2}\n"
    "    AND ({3}, {5}) < (NEW.{3}, NEW.{5})\n"
    "    AND {4} > NEW.{3};\n"
    "  RETURN NEW;\n"
    "END;\n"
    "$$ LANGUAGE plpgsql";

constexpr std::string_view kCloseTrigger =
    "CREATE TRIGGER {0} BEFORE INSERT ON {1}\n"
    "FOR EACH ROW EXECUTE FUNCTION {0}_fn()";

// Pending rows (valid_to = valid_from) neither fire the close trigger nor
// count as the next version; moving their valid_from forward settles them.
constexpr std::string_view kPendingCondition = "\n    AND {} > {}";

constexpr std::string_view kPendingCloseTrigger =
    "CREATE TRIGGER {0} BEFORE INSERT ON {1}\n"
    "FOR EACH ROW WHEN (NEW.{2} IS DISTINCT FROM NEW.{3}) EXECUTE FUNCTION {0}_fn()";

constexpr std::string_view kSettleTrigger =
    "CREATE TRIGGER {0} BEFORE UPDATE OF {1} ON {2}\n"
    "FOR EACH ROW WHEN (OLD.{3} = OLD.{1} AND NEW.{1} > OLD.{1}) EXECUTE FUNCTION {4}_fn()";

constexpr std::string_view kImmutableFunction =
    "CREATE OR REPLACE FUNCTION {0}_fn() RETURNS TRIGGER AS $$\n"
    "BEGIN\n"
    "  RAISE EXCEPTION '{1} is insert-only';\n"
    "END;\n"
    "$$ LANGUAGE plpgsql";

constexpr std::string_view kNoUpdateTrigger =
    "CREATE TRIGGER {0} BEFORE UPDATE OF {1} ON {2}\n"
    "FOR EACH ROW EXECUTE FUNCTION {3}_fn()";

constexpr std::string_view kNoDeleteTrigger =
    "CREATE TRIGGER {0} BEFORE DELETE ON {1}\n"
    "FOR EACH ROW EXECUTE FUNCTION {2}_fn()";

constexpr std::string_view kTransitionsFunction =
    "CREATE OR REPLACE FUNCTION {0}_fn() RETURNS TRIGGER AS $$\n"
    "BEGIN\n"
    "  IF NEW.{1} IS DISTINCT FROM OLD.{1} AND {2} NOT IN (VALUES {3}) THEN\n"
    "    RAISE EXCEPTION '{4}.{1} cannot move from % to %', OLD.{1}, NEW.{1};\n"
    "  END IF;\n"
    "  RETURN NEW;\n"
    "END;\n"
    "$$ LANGUAGE plpgsql";

constexpr std::string_view kTransitionsTrigger =
    "CREATE TRIGGER {0} BEFORE UPDATE OF {1} ON {2}\n"
    "FOR EACH ROW EXECUTE FUNCTION {0}_fn()";

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += ", ";
    text += item;
  }
  return text;
}

// The compared tuple and the allowed values of a transitions trigger.
struct TransitionsCheck {
  std::string tuple;
  std::string values;
};

TransitionsCheck transitions_check(const std::vector<Transition>& plain, const sqlbuilder::Iden& column) {
  std::vector<std::string> values;
  for (const Transition& transition : plain) {
    values.push_back(format_template("('{}', '{}')", {std::string(transition.from), std::string(transition.to)}));
  }
  return {format_template("(OLD.{}, NEW.{0})", {column.text()}), joined(values)};
}

TransitionsCheck transitions_check(const KeyedTransitions& keyed, const sqlbuilder::Iden& column) {
  std::vector<std::string> values;
  for (const auto& [key, transitions] : keyed.by_key) {
    for (const Transition& transition : transitions) {
      values.push_back(format_template("('{}', '{}', '{}')",
                                       {std::string(key), std::string(transition.from), std::string(transition.to)}));
    }
  }
  // The discriminating column is compared with its old value.
  return {format_template("(OLD.{}, OLD.{}, NEW.{1})", {keyed.key_column.text(), column.text()}), joined(values)};
}

}  // namespace

std::string Scd2TriggerDef::render_function(std::string_view extra_condition) const {
  return format_template(kCloseFunction, {name, table.text(), key.text(), valid_from.text(), valid_to.text(),
                                          tiebreak.text(), std::string(extra_condition)});
}

source::Derived Scd2TriggerDef::derived() const {
  return {{render_function(""), format_template(kCloseTrigger, {name, table.text()})},
          {drop_trigger(name, table), drop_trigger_function(name)}};
}

std::string Scd2PendingTriggerDef::settle_name() const { return close.table.text() + "__scd2_settle"; }

source::Derived Scd2PendingTriggerDef::derived() const {
  const std::string& name = close.name;
  const std::string settle = settle_name();
  const std::string& table = close.table.text();
  const std::string& valid_from = close.valid_from.text();
  const std::string& valid_to = close.valid_to.text();
  return {{close.render_function(format_template(kPendingCondition, {valid_to, valid_from})),
           format_template(kPendingCloseTrigger, {name, table, valid_to, valid_from}),
           format_template(kSettleTrigger, {settle, valid_from, table, valid_to, name})},
          {drop_trigger(name, close.table), drop_trigger(settle, close.table), drop_trigger_function(name)}};
}

source::Derived ImmutableColumnsTriggerDef::derived() const {
  const std::string no_update = format_template("{}_no_update", {name});
  const std::string no_delete = format_template("{}_no_delete", {name});
  std::vector<std::string> column_texts;
  for (const sqlbuilder::Iden& column : columns) column_texts.push_back(column.text());
  return {{format_template(kImmutableFunction, {name, table.text()}),
           format_template(kNoUpdateTrigger, {no_update, joined(column_texts), table.text(), name}),
           format_template(kNoDeleteTrigger, {no_delete, table.text(), name})},
          {drop_trigger(no_update, table), drop_trigger(no_delete, table), drop_trigger_function(name)}};
}

source::Derived TransitionsTriggerDef::derived() const {
  const TransitionsCheck check =
      std::visit([this](const auto& allowed) { return transitions_check(allowed, column); }, transitions);
  return {{format_template(kTransitionsFunction, {name, column.text(), check.tuple, check.values, table.text()}),
           format_template(kTransitionsTrigger, {name, column.text(), table.text()})},
          {drop_trigger(name, table), drop_trigger_function(name)}};
}

std::string close_trigger_name(std::string_view table) {
  return format_template("{}__scd2_close", {std::string(table)});
}

std::string immutable_trigger_name(std::string_view table) {
  return format_template("{}__immutable", {std::string(table)});
}

std::string transitions_trigger_name(std::string_view table) {
  return format_template("{}__transitions", {std::string(table)});
}

std::string drop_trigger(std::string_view name, const sqlbuilder::Iden& table) {
  return format_template("DROP TRIGGER IF EXISTS {} ON {}", {std::string(name), table.text()});
}

std::string drop_trigger_function(std::string_view name) {
  return format_template("DROP FUNCTION IF EXISTS {}_fn()", {std::string(name)});
}

}  // namespace schema::sql::trigger

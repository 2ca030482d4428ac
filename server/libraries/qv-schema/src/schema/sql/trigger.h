#pragma once
// The four trigger kinds of the catalog. Names are written bare into the SQL.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "schema/source.h"
#include "sqlbuilder/iden.h"

namespace schema::sql::trigger {

// Closes the previous version of a versioned row (valid_from / valid_to).
struct Scd2TriggerDef {
  std::string name;
  sqlbuilder::Iden table;
  sqlbuilder::Iden key;
  sqlbuilder::Iden valid_from;
  sqlbuilder::Iden valid_to;
  sqlbuilder::Iden tiebreak;

  std::string render_function(std::string_view extra_condition) const;
  source::Derived derived() const;
};

// A close trigger for tables whose rows may be inserted pending
// (valid_to = valid_from) and settled later by moving valid_from forward.
struct Scd2PendingTriggerDef {
  Scd2TriggerDef close;

  std::string settle_name() const;
  source::Derived derived() const;
};

// Refuses updates of the listed columns and every delete.
struct ImmutableColumnsTriggerDef {
  std::string name;
  std::vector<sqlbuilder::Iden> columns;
  sqlbuilder::Iden table;

  source::Derived derived() const;
};

struct Transition {
  std::string_view from;
  std::string_view to;
};

// Allowed moves per value of a discriminating column.
struct KeyedTransitions {
  sqlbuilder::Iden key_column;
  std::vector<std::pair<std::string_view, std::vector<Transition>>> by_key;
};

// Restricts the moves of a status column to the listed pairs.
struct TransitionsTriggerDef {
  std::string name;
  sqlbuilder::Iden table;
  sqlbuilder::Iden column;
  std::variant<std::vector<Transition>, KeyedTransitions> transitions;

  source::Derived derived() const;
};

// Trigger names made from a table's name.
std::string close_trigger_name(std::string_view table);        // {}__scd2_close
std::string immutable_trigger_name(std::string_view table);    // {}__immutable
std::string transitions_trigger_name(std::string_view table);  // {}__transitions

// DROP TRIGGER IF EXISTS <name> ON <table>
std::string drop_trigger(std::string_view name, const sqlbuilder::Iden& table);
// DROP FUNCTION IF EXISTS <name>_fn()
std::string drop_trigger_function(std::string_view name);

}  // namespace schema::sql::trigger

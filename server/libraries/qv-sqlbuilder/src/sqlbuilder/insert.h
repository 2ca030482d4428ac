#pragma once
// INSERT statements:
//   INSERT INTO "t" ("a", "b") VALUES (x, y)[, (...)]
//   INSERT INTO "t" ("a", "b") [WITH ...] SELECT ...
//   ... ON CONFLICT ("k") DO UPDATE SET "a" = "excluded"."a", "b" = <expr>
//   ... ON CONFLICT ("k") DO NOTHING
// An insert has either rows of values or a select; an ON CONFLICT either
// updates or does nothing.

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/select.h"

namespace sqlbuilder {

namespace detail {
class Writer;
}

class OnConflict {
 public:
  explicit OnConflict(std::vector<Iden> columns);
  // SET "c" = "excluded"."c" for each column, in order.
  OnConflict& update_columns(std::vector<Iden> columns);
  // SET "c" = <expr>.
  OnConflict& update_value(Iden column, Expr value);
  OnConflict& do_nothing();

 private:
  friend class detail::Writer;

  std::vector<Iden> columns_;
  std::vector<std::pair<Iden, Expr>> updates_;
  bool do_nothing_ = false;
};

class Insert {
 public:
  Insert& into(Iden table);
  Insert& columns(std::vector<Iden> columns);
  // One row of values; its width must equal the column count, otherwise
  // BuildError "Insert values count does not match columns count".
  Insert& values(std::vector<Expr> row);
  // The rows of a select (which may carry a WITH); its width must equal the
  // column count, otherwise BuildError "Insert select width does not match
  // columns count".
  Insert& select_from(Select query);
  Insert& on_conflict(OnConflict on_conflict);

 private:
  friend class detail::Writer;

  std::optional<Iden> table_;
  std::vector<Iden> columns_;
  std::vector<std::vector<Expr>> rows_;
  std::optional<Select> select_;
  std::optional<OnConflict> on_conflict_;
};

}  // namespace sqlbuilder

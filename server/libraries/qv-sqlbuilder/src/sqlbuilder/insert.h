#pragma once
// INSERT statements:
//   INSERT INTO "t" ("a", "b") VALUES (x, y)[, (...)]
//   INSERT INTO "t" ("a", "b") [WITH ...] SELECT ...
//   ... ON CONFLICT ("k") DO UPDATE SET "a" = "excluded"."a", "b" = <expr>
//   ... ON CONFLICT ("k") DO NOTHING

#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/select.h"

namespace sqlbuilder {

class OnConflict {
 public:
  explicit OnConflict(std::vector<Iden> columns);
  // SET "c" = "excluded"."c" for each column, in order.
  OnConflict& update_columns(std::vector<Iden> columns);
  // SET "c" = <expr>.
  OnConflict& update_value(Iden column, Expr value);
  OnConflict& do_nothing();

 private:
  // Implementation's choice.
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
  // Implementation's choice.
};

}  // namespace sqlbuilder

#pragma once
// One column of a table create or alter:
//   "name" type [NULL | NOT NULL] [DEFAULT x] [UNIQUE] [PRIMARY KEY] [CHECK (x)] [extra]
// Clauses are always written in this order, whatever order they were set in;
// the extra clause (COLLATE "C", say) comes last. Of NULL and NOT NULL the
// last call counts; a column without a type is a BuildError when rendered.

#include <optional>
#include <string>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"

namespace sqlbuilder {

namespace detail {
class Writer;
}

class ColumnDef {
 public:
  explicit ColumnDef(Iden name);

  // Types as PostgreSQL names them.
  ColumnDef& text();                      // text
  ColumnDef& integer();                   // integer
  ColumnDef& big_integer();               // bigint
  ColumnDef& boolean();                   // boolean
  ColumnDef& timestamp_with_time_zone();  // timestamp with time zone
  ColumnDef& custom_type(std::string type);

  ColumnDef& null();      // NULL, written explicitly
  ColumnDef& not_null();  // NOT NULL
  ColumnDef& default_value(Expr value);
  ColumnDef& unique_key();
  ColumnDef& primary_key();
  ColumnDef& check(Expr condition);
  ColumnDef& extra(std::string clause);

  const Iden& name() const { return name_; }

 private:
  friend class detail::Writer;

  Iden name_;
  std::optional<std::string> type_;
  std::optional<bool> nullable_;
  std::optional<Expr> default_;
  bool unique_ = false;
  bool primary_key_ = false;
  std::optional<Expr> check_;
  std::optional<std::string> extra_;
};

}  // namespace sqlbuilder

#pragma once
// The node kinds of an expression tree. Internal to the builder: callers make
// expressions with the functions of expr.h.

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/value.h"

namespace sqlbuilder::detail {

struct ColumnRef {
  std::optional<Iden> table;
  Iden column;
};

struct Asterisk {
  std::optional<Iden> table;
};

struct ValueRef {
  Value value;
};

struct Raw {
  std::string sql;
};

struct Call {
  std::string name;
  std::vector<Expr> args;
  std::optional<Expr> filter;
  std::optional<Window> window;
};

enum class BinaryOp { Or, And, Eq, Ne, Lt, Le, Gt, Ge, IsDistinctFrom, Concat, Add, Sub };

struct Binary {
  BinaryOp op;
  Expr left;
  Expr right;
};

struct Not {
  Expr operand;
};

struct IsNull {
  Expr operand;
  bool negated;
};

struct InList {
  Expr operand;
  std::vector<Expr> list;
  bool negated;
};

struct InQuery {
  Expr operand;
  Select query;
  bool negated;
};

struct Subquery {
  Select query;
};

struct Cast {
  Expr operand;
  std::string type;
};

struct Tuple {
  std::vector<Expr> items;
};

struct CaseWhen {
  std::vector<std::pair<Expr, Expr>> arms;
  std::optional<Expr> otherwise;
};

struct Node {
  std::variant<ColumnRef, Asterisk, ValueRef, Raw, Call, Binary, Not, IsNull, InList, InQuery, Subquery, Tuple,
               CaseWhen, Cast>
      kind;
};

}  // namespace sqlbuilder::detail

#pragma once
// Expressions: column references, values, raw SQL, function calls, operators,
// CASE, subqueries and window calls. An `Expr` is an immutable tree that is
// cheap to copy (shared nodes).
//
// Brackets are written only where precedence needs them. Binding from
// loosest to tightest, as PostgreSQL binds: OR, AND, NOT, comparisons
// (= <> < <= > >=, IS [NOT] NULL, IS DISTINCT FROM, [NOT] IN), ||, + -.
// An operand that binds as loosely as its operator is bracketed, except a
// left operand of AND, OR, ||, + or - and a right operand of the same AND,
// OR or ||; comparisons never chain:
//   ("a" OR "b") AND "c"      "a" AND "b" OR "c"     NOT "a" = "b"
//   ("a" = "b") = "c"         "a" - ("b" - "c")      ("a" || "b") + "c"
// A raw `custom` text is written as it is and never bracketed; a subquery is
// always in brackets. Other forms:
//   count(*) FILTER (WHERE c)  f(x) OVER (PARTITION BY p, q ORDER BY o, r DESC)
//   CASE WHEN c THEN r ELSE e END   "a" IN (x, y)   ("a", "b")   CAST("a" AS int)
// An empty IN list or tuple, a CASE without WHEN, and FILTER or OVER on
// anything but a function call are BuildError.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sqlbuilder/iden.h"
#include "sqlbuilder/value.h"

namespace sqlbuilder {

class Select;

namespace detail {
struct Node;
}

enum class Order { Asc, Desc };

class Window;

class Expr {
 public:
  explicit Expr(std::shared_ptr<const detail::Node> node) : node_(std::move(node)) {}

  // Comparisons and logic.
  Expr eq(Expr other) const;                // a = b
  Expr ne(Expr other) const;                // a <> b
  Expr lt(Expr other) const;                // a < b
  Expr le(Expr other) const;                // a <= b
  Expr gt(Expr other) const;                // a > b
  Expr ge(Expr other) const;                // a >= b
  Expr and_(Expr other) const;              // a AND b
  Expr or_(Expr other) const;               // a OR b
  Expr not_() const;                        // NOT a
  Expr is_null() const;                     // a IS NULL
  Expr is_not_null() const;                 // a IS NOT NULL
  Expr is_distinct_from(Expr other) const;  // a IS DISTINCT FROM b
  Expr in(std::vector<Expr> list) const;    // a IN (x, y)
  Expr not_in(std::vector<Expr> list) const;
  Expr in(Select query) const;              // a IN (SELECT ...)
  Expr not_in(Select query) const;

  // Arithmetic and text.
  Expr add(Expr other) const;     // a + b
  Expr sub(Expr other) const;     // a - b
  Expr concat(Expr other) const;  // a || b

  // On a function call only: f(...) FILTER (WHERE condition), and
  // f(...) OVER (PARTITION BY ... ORDER BY ...).
  Expr filter(Expr condition) const;
  Expr over(Window window) const;

  const detail::Node& node() const { return *node_; }

 private:
  std::shared_ptr<const detail::Node> node_;
};

// "column", or "table"."column".
Expr col(Iden column);
Expr col(Iden table, Iden column);
// *, or "table".*.
Expr asterisk();
Expr asterisk(Iden table);
// A value: an inline literal or a bound parameter.
Expr val(Value value);
// Raw SQL written unchanged, e.g. "'infinity'::timestamptz", "CURRENT_TIMESTAMP".
Expr custom(std::string sql);
// A function call with its name written bare: COALESCE(a, b), count(*).
Expr func(std::string name, std::vector<Expr> args);
// (SELECT ...)
Expr subquery(Select query);
// (a, b, c)
Expr tuple(std::vector<Expr> items);
// CAST(a AS type), the type written as given: CAST(x AS int).
Expr cast(Expr operand, std::string type);

// CASE WHEN c1 THEN r1 ... [ELSE e] END; without `otherwise`, no ELSE.
class Case {
 public:
  Case& when(Expr condition, Expr result);
  Case& otherwise(Expr result);
  Expr end() const;

 private:
  std::vector<std::pair<Expr, Expr>> arms_;
  std::optional<Expr> else_;
};

// PARTITION BY p1, p2 ORDER BY o1 [DESC], ...
class Window {
 public:
  Window& partition_by(Expr expr);
  Window& order_by(Expr expr, Order order = Order::Asc);

  const std::vector<Expr>& partitions() const { return partitions_; }
  const std::vector<std::pair<Expr, Order>>& orders() const { return orders_; }

 private:
  std::vector<Expr> partitions_;
  std::vector<std::pair<Expr, Order>> orders_;
};

}  // namespace sqlbuilder

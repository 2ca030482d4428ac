#include "sqlbuilder/expr.h"

#include <memory>
#include <utility>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/node.h"

namespace sqlbuilder {
namespace {

template <typename Kind>
Expr make(Kind kind) {
  return Expr(std::make_shared<const detail::Node>(detail::Node{std::move(kind)}));
}

Expr binary(detail::BinaryOp op, Expr left, Expr right) {
  return make(detail::Binary{op, std::move(left), std::move(right)});
}

Expr in_list(Expr operand, std::vector<Expr> list, bool negated) {
  // "IN ()" is not SQL.
  if (list.empty()) throw BuildError("An IN list needs at least one item");
  return make(detail::InList{std::move(operand), std::move(list), negated});
}

const detail::Call& call_of(const Expr& e, const char* clause) {
  const auto* call = std::get_if<detail::Call>(&e.node().kind);
  if (call == nullptr) throw BuildError(std::string(clause) + " applies to a function call only");
  return *call;
}

}  // namespace

using detail::BinaryOp;

Expr Expr::eq(Expr other) const { return binary(BinaryOp::Eq, *this, std::move(other)); }
Expr Expr::ne(Expr other) const { return binary(BinaryOp::Ne, *this, std::move(other)); }
Expr Expr::lt(Expr other) const { return binary(BinaryOp::Lt, *this, std::move(other)); }
Expr Expr::le(Expr other) const { return binary(BinaryOp::Le, *this, std::move(other)); }
Expr Expr::gt(Expr other) const { return binary(BinaryOp::Gt, *this, std::move(other)); }
Expr Expr::ge(Expr other) const { return binary(BinaryOp::Ge, *this, std::move(other)); }
Expr Expr::and_(Expr other) const { return binary(BinaryOp::And, *this, std::move(other)); }
Expr Expr::or_(Expr other) const { return binary(BinaryOp::Or, *this, std::move(other)); }
Expr Expr::not_() const { return make(detail::Not{*this}); }
Expr Expr::is_null() const { return make(detail::IsNull{*this, false}); }
Expr Expr::is_not_null() const { return make(detail::IsNull{*this, true}); }
Expr Expr::is_distinct_from(Expr other) const { return binary(BinaryOp::IsDistinctFrom, *this, std::move(other)); }
Expr Expr::in(std::vector<Expr> list) const { return in_list(*this, std::move(list), false); }
Expr Expr::not_in(std::vector<Expr> list) const { return in_list(*this, std::move(list), true); }
Expr Expr::in(Select query) const { return make(detail::InQuery{*this, std::move(query), false}); }
Expr Expr::not_in(Select query) const { return make(detail::InQuery{*this, std::move(query), true}); }
Expr Expr::add(Expr other) const { return binary(BinaryOp::Add, *this, std::move(other)); }
Expr Expr::sub(Expr other) const { return binary(BinaryOp::Sub, *this, std::move(other)); }
Expr Expr::concat(Expr other) const { return binary(BinaryOp::Concat, *this, std::move(other)); }

Expr Expr::filter(Expr condition) const {
  detail::Call call = call_of(*this, "FILTER");
  call.filter = std::move(condition);
  return make(std::move(call));
}

Expr Expr::over(Window window) const {
  detail::Call call = call_of(*this, "OVER");
  call.window = std::move(window);
  return make(std::move(call));
}

Expr col(Iden column) { return make(detail::ColumnRef{std::nullopt, std::move(column)}); }
Expr col(Iden table, Iden column) { return make(detail::ColumnRef{std::move(table), std::move(column)}); }
Expr asterisk() { return make(detail::Asterisk{}); }
Expr asterisk(Iden table) { return make(detail::Asterisk{std::move(table)}); }
Expr val(Value value) { return make(detail::ValueRef{std::move(value)}); }
Expr custom(std::string sql) { return make(detail::Raw{std::move(sql)}); }

Expr func(std::string name, std::vector<Expr> args) {
  return make(detail::Call{std::move(name), std::move(args), std::nullopt, std::nullopt});
}

Expr subquery(Select query) { return make(detail::Subquery{std::move(query)}); }
Expr cast(Expr operand, std::string type) { return make(detail::Cast{std::move(operand), std::move(type)}); }
Expr tuple(std::vector<Expr> items) {
  if (items.empty()) throw BuildError("A tuple needs at least one item");
  return make(detail::Tuple{std::move(items)});
}

Case& Case::when(Expr condition, Expr result) {
  arms_.emplace_back(std::move(condition), std::move(result));
  return *this;
}

Case& Case::otherwise(Expr result) {
  else_ = std::move(result);
  return *this;
}

Expr Case::end() const {
  if (arms_.empty()) throw BuildError("A CASE needs at least one WHEN");
  return make(detail::CaseWhen{arms_, else_});
}

Window& Window::partition_by(Expr expr) {
  partitions_.push_back(std::move(expr));
  return *this;
}

Window& Window::order_by(Expr expr, Order order) {
  orders_.emplace_back(std::move(expr), order);
  return *this;
}

}  // namespace sqlbuilder

#include "sqlbuilder/writer.h"

#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <variant>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/expr.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/table_ref.h"

namespace sqlbuilder::detail {
namespace {

// Writes `text` between `quote` characters, doubling the quotes inside.
void quoted(std::string& out, std::string_view text, char quote) {
  out += quote;
  for (char c : text) {
    if (c == quote) out += quote;
    out += c;
  }
  out += quote;
}

void literal(std::string& out, const Value& value) {
  std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Null>) {
          out += "NULL";
        } else if constexpr (std::is_same_v<T, std::string>) {
          quoted(out, v, '\'');
        } else if constexpr (std::is_same_v<T, bool>) {
          out += v ? "true" : "false";
        } else {
          out += std::to_string(v);
          // PostgreSQL reads a number in the int32 range as integer.
          if constexpr (std::is_same_v<T, std::int64_t>) {
            if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()) {
              out += "::bigint";
            }
          }
        }
      },
      value);
}

}  // namespace

void Writer::iden(const Iden& name) { quoted(sql_, name.text(), '"'); }

void Writer::value(const Value& value) {
  if (mode_ == ValueMode::Inline) {
    literal(sql_, value);
    return;
  }
  values_.push_back(value);
  sql_ += '$';
  sql_ += std::to_string(values_.size());
}

void Writer::idens(const std::vector<Iden>& names) {
  list(names, [this](const Iden& name) { iden(name); });
}

void Writer::orders(const std::vector<std::pair<Expr, Order>>& orders) {
  list(orders, [this](const std::pair<Expr, Order>& order) {
    expr(order.first);
    if (order.second == Order::Desc) text(" DESC");
  });
}

void Writer::table_ref(const TableRef& source) {
  if (source.query) {
    text("(");
    select(*source.query);
    text(")");
  } else {
    if (source.schema) {
      iden(*source.schema);
      text(".");
    }
    iden(*source.table);
  }
  if (source.alias) {
    text(" AS ");
    iden(*source.alias);
  }
}

void Writer::conditions(std::string_view keyword, const std::vector<Expr>& conditions) {
  if (conditions.empty()) return;
  Expr all = conditions.front();
  for (std::size_t i = 1; i < conditions.size(); ++i) all = all.and_(conditions[i]);
  text(" ");
  text(keyword);
  text(" ");
  expr(all);
}

}  // namespace sqlbuilder::detail

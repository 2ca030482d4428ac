// Expressions with brackets only where PostgreSQL's precedence needs them.

#include <string_view>
#include <type_traits>
#include <variant>

#include "sqlbuilder/node.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder::detail {
namespace {

// Binding strength, loosest first; as in PostgreSQL, || binds looser than
// + and -, and comparisons, IS and IN share one level here.
enum Level { kOr = 1, kAnd, kNot, kCompare, kConcat, kAdditive, kAtom };

Level level_of(BinaryOp op) {
  switch (op) {
    case BinaryOp::Or:
      return kOr;
    case BinaryOp::And:
      return kAnd;
    case BinaryOp::Concat:
      return kConcat;
    case BinaryOp::Add:
    case BinaryOp::Sub:
      return kAdditive;
    default:
      return kCompare;
  }
}

std::string_view symbol(BinaryOp op) {
  switch (op) {
    case BinaryOp::Or:
      return "OR";
    case BinaryOp::And:
      return "AND";
    case BinaryOp::Eq:
      return "=";
    case BinaryOp::Ne:
      return "<>";
    case BinaryOp::Lt:
      return "<";
    case BinaryOp::Le:
      return "<=";
    case BinaryOp::Gt:
      return ">";
    case BinaryOp::Ge:
      return ">=";
    case BinaryOp::IsDistinctFrom:
      return "IS DISTINCT FROM";
    case BinaryOp::Concat:
      return "||";
    case BinaryOp::Add:
      return "+";
    case BinaryOp::Sub:
      return "-";
  }
  return "";
}

bool associative(BinaryOp op) { return op == BinaryOp::Or || op == BinaryOp::And || op == BinaryOp::Concat; }

Level level_of(const Node& node) {
  return std::visit(
      [](const auto& kind) {
        using T = std::decay_t<decltype(kind)>;
        if constexpr (std::is_same_v<T, Binary>) {
          return level_of(kind.op);
        } else if constexpr (std::is_same_v<T, Not>) {
          return kNot;
        } else if constexpr (std::is_same_v<T, IsNull> || std::is_same_v<T, InList> || std::is_same_v<T, InQuery>) {
          return kCompare;
        } else {
          return kAtom;
        }
      },
      node.kind);
}

// Comparisons do not chain ("a = b = c" is refused), so an operand on the
// comparison level is bracketed on either side.
bool left_needs_brackets(Level parent, const Node& operand) {
  const Level level = level_of(operand);
  return level < parent || (level == parent && parent == kCompare);
}

bool right_needs_brackets(BinaryOp parent, const Node& operand) {
  const Level level = level_of(operand);
  if (level != level_of(parent)) return level < level_of(parent);
  const auto* binary = std::get_if<Binary>(&operand.kind);
  return binary == nullptr || binary->op != parent || !associative(parent);
}

class ExprWriter {
 public:
  explicit ExprWriter(Writer& out) : out_(out) {}

  void write(const Expr& e) {
    std::visit([this](const auto& kind) { write(kind); }, e.node().kind);
  }

 private:
  void bracketed(const Expr& e, bool brackets) {
    if (brackets) out_.text("(");
    write(e);
    if (brackets) out_.text(")");
  }

  void list(const std::vector<Expr>& items) {
    out_.list(items, [this](const Expr& e) { write(e); });
  }

  void write(const ColumnRef& c) {
    if (c.table) {
      out_.iden(*c.table);
      out_.text(".");
    }
    out_.iden(c.column);
  }

  void write(const Asterisk& a) {
    if (a.table) {
      out_.iden(*a.table);
      out_.text(".");
    }
    out_.text("*");
  }

  void write(const ValueRef& v) { out_.value(v.value); }
  void write(const Raw& r) { out_.text(r.sql); }

  void write(const Call& c) {
    out_.text(c.name);
    out_.text("(");
    list(c.args);
    out_.text(")");
    if (c.filter) {
      out_.text(" FILTER (WHERE ");
      write(*c.filter);
      out_.text(")");
    }
    if (c.window) window(*c.window);
  }

  void window(const Window& w) {
    out_.text(" OVER (");
    if (!w.partitions().empty()) {
      out_.text("PARTITION BY ");
      list(w.partitions());
    }
    if (!w.orders().empty()) {
      if (!w.partitions().empty()) out_.text(" ");
      out_.text("ORDER BY ");
      out_.orders(w.orders());
    }
    out_.text(")");
  }

  void write(const Binary& b) {
    bracketed(b.left, left_needs_brackets(level_of(b.op), b.left.node()));
    out_.text(" ");
    out_.text(symbol(b.op));
    out_.text(" ");
    bracketed(b.right, right_needs_brackets(b.op, b.right.node()));
  }

  void write(const Not& n) {
    out_.text("NOT ");
    bracketed(n.operand, level_of(n.operand.node()) < kNot);
  }

  void write(const IsNull& n) {
    bracketed(n.operand, left_needs_brackets(kCompare, n.operand.node()));
    out_.text(n.negated ? " IS NOT NULL" : " IS NULL");
  }

  void write(const InList& in) {
    bracketed(in.operand, left_needs_brackets(kCompare, in.operand.node()));
    out_.text(in.negated ? " NOT IN (" : " IN (");
    list(in.list);
    out_.text(")");
  }

  void write(const InQuery& in) {
    bracketed(in.operand, left_needs_brackets(kCompare, in.operand.node()));
    out_.text(in.negated ? " NOT IN (" : " IN (");
    out_.select(in.query);
    out_.text(")");
  }

  void write(const Subquery& s) {
    out_.text("(");
    out_.select(s.query);
    out_.text(")");
  }

  void write(const Tuple& t) {
    out_.text("(");
    list(t.items);
    out_.text(")");
  }

  void write(const Cast& c) {
    out_.text("CAST(");
    write(c.operand);
    out_.text(" AS ");
    out_.text(c.type);
    out_.text(")");
  }

  void write(const CaseWhen& c) {
    out_.text("CASE");
    for (const auto& [condition, result] : c.arms) {
      out_.text(" WHEN ");
      write(condition);
      out_.text(" THEN ");
      write(result);
    }
    if (c.otherwise) {
      out_.text(" ELSE ");
      write(*c.otherwise);
    }
    out_.text(" END");
  }

  Writer& out_;
};

}  // namespace

void Writer::expr(const Expr& expression) { ExprWriter(*this).write(expression); }

}  // namespace sqlbuilder::detail

#pragma once
// The PostgreSQL writer behind render.h: appends statements to one text and,
// in parameter mode, collects the values that replace $1, $2, ... Internal to
// the builder.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/value.h"

namespace sqlbuilder {

class ColumnDef;
class Delete;
class IndexCreate;
class IndexDrop;
class Insert;
class OnConflict;
class Select;
class TableAlter;
class TableCreate;
class Update;

namespace detail {

struct ForeignKey;
struct TableRef;

enum class ValueMode { Inline, Parameter };

class Writer {
 public:
  explicit Writer(ValueMode mode) : mode_(mode) {}

  void text(std::string_view sql) { sql_ += sql; }
  void iden(const Iden& name);
  void value(const Value& value);
  void expr(const Expr& expression);  // expr_writer.cc

  // One statement each; defined beside the statement's builder.
  void select(const Select& statement);
  void insert(const Insert& statement);
  void update(const Update& statement);
  void remove(const Delete& statement);
  void table_create(const TableCreate& statement);
  void table_alter(const TableAlter& statement);
  void index_create(const IndexCreate& statement);
  void index_drop(const IndexDrop& statement);

  // Parts of statements.
  void with_clause(const Select& statement);
  void joins(const Select& statement);
  void union_branches(const Select& statement);
  void on_conflict(const OnConflict& clause);
  void column(const ColumnDef& column);
  void modify_column(const ColumnDef& column);
  void foreign_key(const ForeignKey& key);
  // Shared pieces of statements.
  void table_ref(const TableRef& source);
  void conditions(std::string_view keyword, const std::vector<Expr>& conditions);
  template <typename T, typename F>
  void list(const std::vector<T>& items, F write_item);
  // "a", "b"
  void idens(const std::vector<Iden>& names);
  // e ASC is written e, e DESC is written e DESC.
  void orders(const std::vector<std::pair<Expr, Order>>& orders);

  std::string& sql() { return sql_; }
  std::vector<Value>& values() { return values_; }

 private:
  ValueMode mode_;
  std::string sql_;
  std::vector<Value> values_;
};

// Writes the items separated by ", ".
template <typename T, typename F>
void Writer::list(const std::vector<T>& items, F write_item) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text(", ");
    write_item(items[i]);
  }
}

}  // namespace detail
}  // namespace sqlbuilder

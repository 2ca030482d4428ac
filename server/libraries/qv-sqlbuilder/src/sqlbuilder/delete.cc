#include "sqlbuilder/delete.h"

#include <utility>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder {

Delete& Delete::from(Iden table) {
  table_ = std::move(table);
  return *this;
}

Delete& Delete::and_where(Expr condition) {
  where_.push_back(std::move(condition));
  return *this;
}

namespace detail {

void Writer::remove(const Delete& s) {
  if (!s.table_) throw BuildError("Delete has no table");
  text("DELETE FROM ");
  iden(*s.table_);
  conditions("WHERE", s.where_);
}

}  // namespace detail
}  // namespace sqlbuilder

#pragma once
// DELETE FROM "t" [WHERE ...]

#include <optional>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"

namespace sqlbuilder {

namespace detail {
class Writer;
}

class Delete {
 public:
  Delete& from(Iden table);
  Delete& and_where(Expr condition);

 private:
  friend class detail::Writer;

  std::optional<Iden> table_;
  std::vector<Expr> where_;
};

}  // namespace sqlbuilder

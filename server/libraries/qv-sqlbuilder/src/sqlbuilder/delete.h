#pragma once
// DELETE FROM "t" [WHERE ...]

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"

namespace sqlbuilder {

class Delete {
 public:
  Delete& from(Iden table);
  Delete& and_where(Expr condition);

 private:
  // Implementation's choice.
};

}  // namespace sqlbuilder

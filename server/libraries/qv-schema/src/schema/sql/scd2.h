#pragma once

#include "sqlbuilder/expr.h"

namespace schema::sql::scd2 {

// "valid_to" = 'infinity'::timestamptz: the live version of a versioned row.
sqlbuilder::Expr open_interval();

}  // namespace schema::sql::scd2

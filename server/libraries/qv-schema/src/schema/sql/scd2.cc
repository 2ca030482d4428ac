#include "schema/sql/scd2.h"

namespace schema::sql::scd2 {

sqlbuilder::Expr open_interval() {
  return sqlbuilder::col("valid_to").eq(sqlbuilder::custom("'infinity'::timestamptz"));
}

}  // namespace schema::sql::scd2

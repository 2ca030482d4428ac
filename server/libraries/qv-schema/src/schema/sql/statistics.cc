#include "schema/sql/statistics.h"

#include "schema/sql/quote.h"

namespace schema::sql::statistics {

source::Derived StatisticsDef::derived() const {
  const std::string statistics = quote::quoted(name);
  return {{"CREATE STATISTICS " + statistics + " (ndistinct) ON " + quote::quoted_list(columns) + " FROM " +
           quote::quoted(table)},
          {"DROP STATISTICS IF EXISTS " + statistics}};
}

}  // namespace schema::sql::statistics

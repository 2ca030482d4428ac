#include "schema/sql/partial_index.h"

#include "schema/sql/quote.h"

namespace schema::sql::partial_index {

source::Derived PartialIndexDef::derived() const {
  const std::string index = quote::quoted(name);
  return {{"CREATE INDEX " + index + " ON " + quote::quoted(table) + " (" + quote::quoted_list(columns) + ") WHERE " +
           condition},
          {"DROP INDEX IF EXISTS " + index}};
}

}  // namespace schema::sql::partial_index

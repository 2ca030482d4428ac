#include "schema/sql/view.h"

#include "sqlbuilder/render.h"
#include "sqlbuilder/template.h"

namespace schema::sql::view {

source::Derived ViewDef::derived() const {
  // The view runs with the querying role's rights, so row-level security applies.
  return {{sqlbuilder::format_template("CREATE VIEW {} WITH (security_invoker = true) AS {}",
                                       {name.text(), sqlbuilder::to_sql(query)})},
          {sqlbuilder::format_template("DROP VIEW IF EXISTS {}", {name.text()})}};
}

}  // namespace schema::sql::view

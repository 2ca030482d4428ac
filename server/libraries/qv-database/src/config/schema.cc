#include "config/schema.h"

#include "config/name.h"

namespace config::schema {

qv_common::Result<Schema, std::string> Schema::parse(std::string_view name) {
  QV_ASSIGN_OR_RETURN(std::string checked, name::checked_name("schema", name));
  return Schema(std::move(checked));
}

}  // namespace config::schema

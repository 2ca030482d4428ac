#pragma once
// A FROM or JOIN source of a select or update: "t", "s"."t", "t" AS "a", or
// (SELECT ...) AS "a".

#include <memory>
#include <optional>

#include "sqlbuilder/iden.h"

namespace sqlbuilder {

class Select;

namespace detail {

struct TableRef {
  std::optional<Iden> table;
  // A subquery; shared because it never changes once added.
  std::shared_ptr<const Select> query;
  std::optional<Iden> alias;
  // The schema that qualifies `table`, if any.
  std::optional<Iden> schema = std::nullopt;
};

}  // namespace detail
}  // namespace sqlbuilder

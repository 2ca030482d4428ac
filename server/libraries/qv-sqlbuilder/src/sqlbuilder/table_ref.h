#pragma once
// A FROM or JOIN source of a select or update: "t", "t" AS "a", or
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
};

}  // namespace detail
}  // namespace sqlbuilder

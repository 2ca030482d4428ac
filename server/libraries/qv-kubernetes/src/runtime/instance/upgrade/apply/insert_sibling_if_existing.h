#pragma once

#include <cstddef>

#include "qv_yaml/value.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {

// The bytes the insertions of one operation may add: each takes `each` of
// `left`. Once one does not fit, it is not made, `exceeded` is set and no
// further insertion happens.
struct InsertionRoom {
  std::size_t each = 0;
  std::size_t left = 0;
  bool exceeded = false;
};

// Inserts the operation's sibling beside `anchor` when `node` is a bare
// mapping that holds `anchor` and lacks the sibling, and the insertion fits
// in `room`; says whether it did.
bool beside(const spec::InsertSiblingIfExisting& op, qv_yaml::Value& node, const qv_yaml::Value& anchor,
            InsertionRoom& room);

// `beside` on `node` and on every node below it, through sequences and
// mapping values but not into tagged values; says whether any insertion
// happened. The value of a sibling just inserted is not visited: it is a copy
// of the operation's value, so visiting it would insert into it again without end.
bool beside_everywhere(const spec::InsertSiblingIfExisting& op, qv_yaml::Value& node,
                       const qv_yaml::Value& anchor, InsertionRoom& room);

}  // namespace runtime::instance::upgrade::apply

#pragma once
// The step to version 10: the metrics facts table filled from the history,
// the bucket columns off the physical runs, row-level security of the new
// table, and status and span columns of executions and transactions filled
// by the version-4 status rollups, which retire the version-4 status views.

#include <string>
#include <string_view>
#include <vector>

#include "schema/source.h"

namespace schema::deltas::v9_to_v10 {

// What the step retires, by name.
struct Retired {
  std::vector<std::string_view> views;
  std::vector<std::string_view> indexes;
};

class Migration {
 public:
  // The step's statements, ending with the version update for 10.
  std::vector<std::string> up() const;
  Retired retired() const;
};

// up, and the retired names as drops: the views, then the indexes.
source::Delta delta();

}  // namespace schema::deltas::v9_to_v10

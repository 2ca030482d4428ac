#pragma once

// UpgradeAction: what an upgrade does, planned from the stored schema version
// and the catalog's.

#include <optional>
#include <variant>
#include <vector>

#include "schema/source.h"

namespace components::plan {

using schema::source::Version;

// No stored version: install the catalog's whole schema.
struct Install {
  Version version;
  friend bool operator==(const Install&, const Install&) = default;
};
// An older stored version: the version steps to these targets, ascending.
struct Migrate {
  std::vector<Version> targets;
  friend bool operator==(const Migrate&, const Migrate&) = default;
};
struct UpToDate {
  friend bool operator==(const UpToDate&, const UpToDate&) = default;
};
// A newer stored version, which this build cannot handle.
struct Ahead {
  Version stored;
  friend bool operator==(const Ahead&, const Ahead&) = default;
};

using UpgradeAction = std::variant<Install, Migrate, UpToDate, Ahead>;

// The plan an upgrade recorded, with the catalog version it planned for.
struct RecordedPlan {
  UpgradeAction action;
  Version catalog_version;
  friend bool operator==(const RecordedPlan&, const RecordedPlan&) = default;
};

UpgradeAction plan_upgrade(std::optional<Version> stored, Version catalog);

}  // namespace components::plan

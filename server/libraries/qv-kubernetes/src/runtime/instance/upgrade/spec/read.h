#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "qv_yaml/read.h"
#include "qv_yaml/value.h"
#include "runtime/instance/upgrade/spec/spec.h"

// Typed reading of upgrade spec documents and their edit operations.
namespace runtime::instance::upgrade::spec {

using qv_yaml::read::ReadError;
using qv_yaml::read::ReadResult;

// Reads the list of a modify entry's `changes`.
ReadResult<std::vector<Operation>> read_operations(const qv_yaml::Value& node);
ReadResult<Operation> read_operation(const qv_yaml::Value& node);
ReadResult<Placement> read_placement(const qv_yaml::Value& node);
ReadResult<Scope> read_scope(const qv_yaml::Value& node);

ReadResult<Action> read_action(const qv_yaml::Value& node);
ReadResult<Spec> read_spec(const qv_yaml::Value& document);

// Whether one raw spec entry carries changes: its "changes" key holds
// something other than null.
struct Probe {
  std::optional<qv_yaml::Value> changes;
};
ReadResult<Probe> read_probe(const qv_yaml::Value& entry);

}  // namespace runtime::instance::upgrade::spec

#include <array>

#include "runtime/instance/upgrade/spec/read.h"
#include "runtime/instance/upgrade/spec/tagged_enum.h"

namespace runtime::instance::upgrade::spec {
namespace {

namespace read = qv_yaml::read;
using qv_yaml::Value;

constexpr std::array<std::string_view, 1> kChangesField = {"changes"};

// The payload of a modify action: `changes`, other keys ignored.
ReadResult<std::vector<Operation>> read_modify_fields(const qv_yaml::Mapping& entries, qv_yaml::Mark mark) {
  const read::RecordShape shape{kChangesField, read::UnknownKeys::kIgnore};
  std::vector<Operation> changes;
  QV_ASSIGN_OR_RETURN(const std::vector<bool> given,
                      read::read_record(entries, shape, [&](std::size_t, const Value& v) {
                        return read::assign(changes, read_operations(v));
                      }));
  if (!given[0]) return qv_common::fail(read::missing_field("changes", mark));
  return changes;
}

// The payload of the five actions without fields: no key at all. A tag in
// any entry is named before the entry itself, as for operations.
qv_common::Result<void, ReadError> read_bare_fields(const qv_yaml::Mapping& entries) {
  for (const auto& [key, value] : entries) {
    QV_RETURN_IF_ERROR(read::check_untagged(key));
    QV_RETURN_IF_ERROR(read::check_untagged(value));
  }
  const read::RecordShape shape{{}, read::UnknownKeys::kReject};
  QV_RETURN_IF_ERROR(read::read_record(entries, shape, [](std::size_t, const Value&) { return std::nullopt; }));
  return {};
}

ReadResult<Action> action_from_sequence(const Value& node) {
  const qv_yaml::Sequence& items = node.as_sequence();
  for (const Value& item : items) QV_RETURN_IF_ERROR(read::check_untagged(item));
  if (items.empty()) return qv_common::fail(read::missing_field("action", node.mark()));
  QV_ASSIGN_OR_RETURN(const std::size_t variant, detail::read_variant(items.front(), kActionNames));
  Action action{static_cast<ActionKind>(variant), {}};
  const std::size_t rest = items.size() - 1;
  if (action.kind != ActionKind::kModify) {
    if (rest > 0) return qv_common::fail(read::invalid_length(rest, read::elements_in_sequence(0), node.mark()));
    return action;
  }
  if (rest == 0) return qv_common::fail(read::invalid_length(0, "struct Modify with 1 element", node.mark()));
  if (rest > 1) return qv_common::fail(read::invalid_length(rest, read::elements_in_sequence(1), node.mark()));
  QV_ASSIGN_OR_RETURN(action.changes, read_operations(items[1]));
  return action;
}

// A group or variant name: one file name, so that no step reaches outside
// its family folder.
ReadResult<std::string> read_file_name(const Value& key) {
  QV_ASSIGN_OR_RETURN(std::string name, read::scalar_text(key));
  const bool separator = name.find_first_of(std::string_view("/\0", 2)) != std::string::npos;
  if (name.empty() || name == "." || name == ".." || separator) {
    return qv_common::fail(read::invalid_value(read::describe(Value(name)), "a file name", key.mark()));
  }
  return name;
}

// A map from file names; written with nothing after its colon it reads as an
// empty map, while an explicit null is no map.
template <typename Map, typename ReadEntry>
ReadResult<Map> read_map(const Value& node, ReadEntry read_entry) {
  Map map;
  if (node.is_empty_null()) return map;
  if (!node.is_mapping()) return qv_common::fail(read::invalid_type(node, "a map"));
  for (const auto& [key, value] : node.as_mapping()) {
    QV_ASSIGN_OR_RETURN(std::string name, read_file_name(key));
    QV_ASSIGN_OR_RETURN(auto entry, read_entry(value));
    map.insert_or_assign(std::move(name), std::move(entry));
  }
  return map;
}

ReadResult<FamilyMap> read_family(const Value& node) {
  return read_map<FamilyMap>(node, [](const Value& group) { return read_map<GroupMap>(group, read_action); });
}

ReadResult<Resolved> read_resolved(const Value& node) {
  Resolved resolved;
  if (node.is_empty_null()) return resolved;
  if (!node.is_mapping()) return qv_common::fail(read::invalid_type(node, "struct Resolved"));
  static constexpr std::array<std::string_view, 1> kFields = {"configs"};
  const read::RecordShape resolved_shape{kFields, read::UnknownKeys::kReject};
  QV_RETURN_IF_ERROR(read::read_record(node.as_mapping(), resolved_shape,
                                       [&](std::size_t, const Value& v) {
                                         return read::assign(resolved.configs, read_family(v));
                                       }));
  return resolved;
}

}  // namespace

ReadResult<Action> read_action(const Value& node) {
  if (node.is_sequence()) return action_from_sequence(node);
  if (!node.is_mapping()) return qv_common::fail(read::invalid_type(node, "internally tagged enum Action"));
  QV_ASSIGN_OR_RETURN(const detail::TaggedContent content,
                      detail::read_tagged_mapping(node, "action", kActionNames, detail::FieldTags::kLeaveToRecord));
  Action action{static_cast<ActionKind>(content.variant), {}};
  if (action.kind == ActionKind::kModify) {
    QV_ASSIGN_OR_RETURN(action.changes, read_modify_fields(content.fields, node.mark()));
  } else {
    QV_RETURN_IF_ERROR(read_bare_fields(content.fields));
  }
  return action;
}

ReadResult<Spec> read_spec(const Value& document) {
  if (!document.is_mapping()) return qv_common::fail(read::invalid_type(document, "struct Spec"));
  static constexpr std::array<std::string_view, 5> kFields = {"schema", "assets", "configs", "pods", "resolved"};
  const read::RecordShape shape{kFields, read::UnknownKeys::kIgnore};
  Spec spec;
  QV_ASSIGN_OR_RETURN(const std::vector<bool> given,
                      read::read_record(document.as_mapping(), shape,
                                        [&](std::size_t field, const Value& v) -> std::optional<ReadError> {
                                          switch (field) {
                                            case 0: return read::assign(spec.schema, read::u32(v));
                                            case 1: return read::assign(spec.assets, read_family(v));
                                            case 2: return read::assign(spec.configs, read_family(v));
                                            case 3: return read::assign(spec.pods, read_family(v));
                                            default: return read::assign(spec.resolved, read_resolved(v));
                                          }
                                        }));
  if (!given[0]) return qv_common::fail(read::missing_field("schema", document.mark()));
  return spec;
}

ReadResult<Probe> read_probe(const Value& entry) {
  const read::RecordShape shape{kChangesField, read::UnknownKeys::kIgnore};
  Probe probe;
  QV_RETURN_IF_ERROR(read::read_record(entry.as_mapping(), shape, [&](std::size_t, const Value& v) {
    if (!v.is_null()) probe.changes = v;
    return std::optional<ReadError>();
  }));
  return probe;
}

}  // namespace runtime::instance::upgrade::spec

#include <array>
#include <functional>

#include <fmt/format.h>

#include "runtime/instance/upgrade/spec/read.h"
#include "runtime/instance/upgrade/spec/tagged_enum.h"

namespace runtime::instance::upgrade::spec {
namespace {

namespace read = qv_yaml::read;
using qv_yaml::Value;

constexpr std::array<std::string_view, 8> kOperationNames = {
    "modify-leaf-value-if", "modify-text-if",          "insert-sibling-if-existing", "insert-child-if-missing",
    "nest-children-if-flat", "derive-item-if-missing", "derive-sibling-if-existing", "remove-leaf-if"};

// One field of an operation record: its name, whether it must be given, and
// how its value is read into the record.
template <typename T>
struct Field {
  std::string_view name;
  bool required;
  std::function<std::optional<ReadError>(T&, const Value&)> read;
};

template <typename T, typename V>
std::optional<ReadError> store(V T::*member, T& record, ReadResult<V> value) {
  return read::assign(record.*member, std::move(value));
}

template <typename T>
Field<T> text(std::string_view name, std::string T::*member) {
  return {name, true, [member](T& r, const Value& v) { return store(member, r, read::string(v)); }};
}

template <typename T>
Field<T> optional_text(std::string_view name, std::optional<std::string> T::*member) {
  return {name, false, [member](T& r, const Value& v) { return store(member, r, read::optional_string(v)); }};
}

template <typename T>
Field<T> value(std::string_view name, Value T::*member) {
  return {name, false, [member](T& r, const Value& v) { return store(member, r, ReadResult<Value>(v)); }};
}

template <typename T>
Field<T> placement(std::string_view name, Placement T::*member) {
  return {name, false, [member](T& r, const Value& v) { return store(member, r, read_placement(v)); }};
}

template <typename T>
Field<T> scope(std::string_view name, Scope T::*member) {
  return {name, false, [member](T& r, const Value& v) { return store(member, r, read_scope(v)); }};
}

template <typename T>
std::vector<std::string_view> names_of(const std::vector<Field<T>>& fields) {
  std::vector<std::string_view> names;
  for (const auto& field : fields) names.push_back(field.name);
  return names;
}

// The record from the entries that followed the tag in the mapping form.
template <typename T>
ReadResult<T> record_from_mapping(const std::vector<Field<T>>& fields, const qv_yaml::Mapping& entries, qv_yaml::Mark mark) {
  const auto names = names_of(fields);
  const read::RecordShape shape{names, read::UnknownKeys::kReject};
  T record{};
  QV_ASSIGN_OR_RETURN(const std::vector<bool> given,
                      read::read_record(entries, shape, [&](std::size_t i, const Value& v) {
                        return fields[i].read(record, v);
                      }));
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].required && !given[i]) return qv_common::fail(read::missing_field(fields[i].name, mark));
  }
  return record;
}

// The record from the elements after the tag in the sequence form.
template <typename T>
ReadResult<T> record_from_sequence(const std::vector<Field<T>>& fields, std::string_view struct_name,
                                   std::span<const Value> elements, qv_yaml::Mark mark) {
  if (elements.size() > fields.size()) {
    return qv_common::fail(read::invalid_length(elements.size(), read::elements_in_sequence(fields.size()), mark));
  }
  T record{};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i >= elements.size()) {
      if (!fields[i].required) continue;
      return qv_common::fail(read::invalid_length(
          elements.size(), fmt::format("struct {} with {} element{}", struct_name, fields.size(), fields.size() == 1 ? "" : "s"),
          mark));
    }
    if (auto error = fields[i].read(record, elements[i])) return qv_common::fail(std::move(*error));
  }
  return record;
}

// Either form of one kind's record.
struct Content {
  const qv_yaml::Mapping* entries = nullptr;
  std::span<const Value> elements;
  qv_yaml::Mark mark;
};

template <typename T>
ReadResult<Operation> record(const std::vector<Field<T>>& fields, std::string_view struct_name, const Content& content) {
  auto result = content.entries != nullptr ? record_from_mapping(fields, *content.entries, content.mark)
                                           : record_from_sequence(fields, struct_name, content.elements, content.mark);
  if (!result) return qv_common::fail(std::move(result).error());
  return Operation{std::move(*result)};
}

ReadResult<Operation> read_kind(std::size_t kind, const Content& content) {
  switch (kind) {
    case 0: {
      using T = ModifyLeafValueIf;
      static const std::vector<Field<T>> fields = {text("leaf", &T::leaf), value("from", &T::from), value("to", &T::to)};
      return record(fields, "ModifyLeafValueIf", content);
    }
    case 1: {
      using T = ModifyTextIf;
      static const std::vector<Field<T>> fields = {text("pattern", &T::pattern), text("replacement", &T::replacement),
                                                   optional_text("before", &T::before),
                                                   optional_text("after", &T::after)};
      return record(fields, "ModifyTextIf", content);
    }
    case 2: {
      using T = InsertSiblingIfExisting;
      static const std::vector<Field<T>> fields = {text("leaf", &T::leaf), text("sibling", &T::sibling),
                                                   value("value", &T::value), placement("placement", &T::placement),
                                                   scope("scope", &T::scope)};
      return record(fields, "InsertSiblingIfExisting", content);
    }
    case 3: {
      using T = InsertChildIfMissing;
      static const std::vector<Field<T>> fields = {text("leaf", &T::leaf), text("child", &T::child),
                                                   value("value", &T::value)};
      return record(fields, "InsertChildIfMissing", content);
    }
    case 4: {
      using T = NestChildrenIfFlat;
      static const std::vector<Field<T>> fields = {text("leaf", &T::leaf), text("under", &T::under)};
      return record(fields, "NestChildrenIfFlat", content);
    }
    case 5: {
      using T = DeriveItemIfMissing;
      static const std::vector<Field<T>> fields = {text("leaf", &T::leaf), text("pattern", &T::pattern),
                                                   text("item", &T::item)};
      return record(fields, "DeriveItemIfMissing", content);
    }
    case 6: {
      using T = DeriveSiblingIfExisting;
      static const std::vector<Field<T>> fields = {text("leaf", &T::leaf), text("pattern", &T::pattern),
                                                   text("sibling", &T::sibling), value("value", &T::value),
                                                   placement("placement", &T::placement)};
      return record(fields, "DeriveSiblingIfExisting", content);
    }
    default: {
      using T = RemoveLeafIf;
      static const std::vector<Field<T>> fields = {text("leaf", &T::leaf)};
      return record(fields, "RemoveLeafIf", content);
    }
  }
}

// A unit variant written as its name, or as a one-key mapping whose value is
// null or an empty mapping.
template <typename E, std::size_t N>
ReadResult<E> read_unit_variant(const Value& node, const std::array<std::string_view, N>& names) {
  if (node.is_string()) {
    QV_ASSIGN_OR_RETURN(const std::size_t index, detail::read_variant(node, names));
    return static_cast<E>(index);
  }
  if (!node.is_mapping()) return qv_common::fail(read::invalid_type(node, "string or map"));
  const qv_yaml::Mapping& mapping = node.as_mapping();
  if (mapping.size() != 1) {
    return qv_common::fail(read::invalid_value("map", "map with a single key", node.mark()));
  }
  const auto& [key, value] = *mapping.begin();
  QV_ASSIGN_OR_RETURN(const std::size_t index, detail::read_variant(key, names));
  if (!value.is_null() && !(value.is_mapping() && value.as_mapping().empty())) {
    return qv_common::fail(read::invalid_type(value, "unit"));
  }
  return static_cast<E>(index);
}

}  // namespace

ReadResult<Placement> read_placement(const Value& node) {
  static constexpr std::array<std::string_view, 2> kNames = {"before", "after"};
  return read_unit_variant<Placement>(node, kNames);
}

ReadResult<Scope> read_scope(const Value& node) {
  static constexpr std::array<std::string_view, 2> kNames = {"addressed", "everywhere"};
  return read_unit_variant<Scope>(node, kNames);
}

ReadResult<Operation> read_operation(const Value& node) {
  if (node.is_mapping()) {
    QV_ASSIGN_OR_RETURN(const detail::TaggedContent content,
                        detail::read_tagged_mapping(node, "op", kOperationNames, detail::FieldTags::kReject));
    return read_kind(content.variant, Content{&content.fields, {}, node.mark()});
  }
  if (node.is_sequence()) {
    const qv_yaml::Sequence& items = node.as_sequence();
    for (const Value& item : items) QV_RETURN_IF_ERROR(read::check_untagged(item));
    if (items.empty()) return qv_common::fail(read::missing_field("op", node.mark()));
    QV_ASSIGN_OR_RETURN(const std::size_t kind, detail::read_variant(items.front(), kOperationNames));
    return read_kind(kind, Content{nullptr, std::span<const Value>(items).subspan(1), node.mark()});
  }
  return qv_common::fail(read::invalid_type(node, "internally tagged enum Operation"));
}

ReadResult<std::vector<Operation>> read_operations(const Value& node) {
  if (!node.is_sequence()) return qv_common::fail(read::invalid_type(node, "a sequence"));
  std::vector<Operation> operations;
  operations.reserve(node.as_sequence().size());
  for (const Value& item : node.as_sequence()) {
    QV_ASSIGN_OR_RETURN(Operation operation, read_operation(item));
    operations.push_back(std::move(operation));
  }
  return operations;
}

}  // namespace runtime::instance::upgrade::spec

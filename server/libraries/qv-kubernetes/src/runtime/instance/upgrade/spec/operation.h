#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "qv_yaml/value.h"
#include "result.h"

namespace core::system::exit {
struct CommandError;
}

namespace runtime::instance::upgrade::apply {
class WorkingText;
}

namespace runtime::instance::upgrade::spec {

// Where an inserted key goes relative to its anchor key.
enum class Placement : std::uint8_t { kBefore, kAfter };

// Which mappings insert-sibling-if-existing visits.
enum class Scope : std::uint8_t { kAddressed, kEverywhere };

struct ModifyLeafValueIf {
  std::string leaf;
  qv_yaml::Value from;
  qv_yaml::Value to;
};

struct ModifyTextIf {
  std::string pattern;
  std::string replacement;
  std::optional<std::string> before;
  std::optional<std::string> after;
};

struct InsertSiblingIfExisting {
  std::string leaf;
  std::string sibling;
  qv_yaml::Value value;
  Placement placement = Placement::kAfter;
  Scope scope = Scope::kAddressed;
};

struct InsertChildIfMissing {
  std::string leaf;
  std::string child;
  qv_yaml::Value value;
};

struct NestChildrenIfFlat {
  std::string leaf;
  std::string under;
};

struct DeriveItemIfMissing {
  std::string leaf;
  std::string pattern;
  std::string item;
};

struct DeriveSiblingIfExisting {
  std::string leaf;
  std::string pattern;
  std::string sibling;
  qv_yaml::Value value;
  Placement placement = Placement::kAfter;
};

struct RemoveLeafIf {
  std::string leaf;
};

// The text an operation hands back, and whether its rule fired.
struct Replaced {
  std::string text;
  bool changed = false;
};

// One YAML edit operation of a modify action, in the order of its kinds.
struct Operation {
  using Kind = std::variant<ModifyLeafValueIf, ModifyTextIf, InsertSiblingIfExisting, InsertChildIfMissing,
                            NestChildrenIfFlat, DeriveItemIfMissing, DeriveSiblingIfExisting, RemoveLeafIf>;
  Kind kind;

  // Applies the operation to a file's text. An operation that does not fire
  // hands back `text` unchanged; `version` and `entry` name the failure.
  qv_common::Result<Replaced, core::system::exit::CommandError> replace(std::string_view version,
                                                                        std::string_view entry,
                                                                        std::string text) const;

  // Applies the operation to the text of a modify step in progress, which
  // keeps the parsed document between operations; says whether it fired.
  qv_common::Result<bool, core::system::exit::CommandError> apply(apply::WorkingText& text) const;
};

}  // namespace runtime::instance::upgrade::spec

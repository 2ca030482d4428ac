#include "qv_yaml/parse.h"

#include <yaml.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <fmt/format.h>

#include "qv_yaml/extent.h"
#include "qv_yaml/key_index.h"
#include "qv_yaml/resolve.h"

namespace qv_yaml {
namespace {

constexpr std::string_view kCoreTagPrefix = "tag:yaml.org,2002:";

struct ParserDeleter {
  void operator()(yaml_parser_t* parser) const {
    yaml_parser_delete(parser);
    delete parser;
  }
};

class Event {
 public:
  Event() = default;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  ~Event() { yaml_event_delete(&event_); }
  yaml_event_t* get() { return &event_; }
  const yaml_event_t& operator*() const { return event_; }

 private:
  yaml_event_t event_{};
};

Mark mark_of(const yaml_mark_t& mark) {
  return Mark{static_cast<std::uint32_t>(mark.line), static_cast<std::uint32_t>(mark.column)};
}

// An event's anchor or tag, empty when it has none.
std::string_view view_of(const yaml_char_t* text) {
  return text == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(text));
}

// A tag that the core schema knows ("!!str", ...) as its short name; empty
// for every other tag.
std::string_view core_tag(std::string_view tag) {
  if (tag.substr(0, kCoreTagPrefix.size()) != kCoreTagPrefix) return {};
  return tag.substr(kCoreTagPrefix.size());
}

std::string key_text(const Value& key) {
  if (key.is_string()) return fmt::format("\"{}\"", key.as_string());
  if (key.is_mapping() || key.is_sequence() || key.is_tagged()) return "of a complex value";
  return key.raw();
}

std::string duplicate_key(const Value& key) {
  return fmt::format("duplicate entry with key {}{}", key_text(key), location(key.mark()));
}

// An empty collection with room for the few entries most collections hold,
// which saves the first regrowths.
template <typename Collection>
Collection reserved() {
  Collection collection;
  collection.reserve(4);
  return collection;
}

// Builds values from parser events.
class Builder {
 public:
  Builder(std::string_view text, ParseOptions options) : options_(options), parser_(new yaml_parser_t) {
    yaml_parser_initialize(parser_.get());
    yaml_parser_set_input_string(parser_.get(), reinterpret_cast<const unsigned char*>(text.data()),
                                 text.size());
  }

  qv_common::Result<Value, std::string> run() {
    std::optional<Value> document;
    for (;;) {
      Event event;
      if (!yaml_parser_parse(parser_.get(), event.get())) return qv_common::fail(parser_error());
      switch ((*event).type) {
        case YAML_STREAM_END_EVENT:
          if (document) return std::move(*document);
          if (options_.empty_is_null) return Value(nullptr);
          return qv_common::fail(std::string("EOF while parsing a value"));
        case YAML_DOCUMENT_START_EVENT:
          if (document) {
            return qv_common::fail(
                std::string("deserializing from YAML containing more than one document is not supported"));
          }
          break;
        case YAML_DOCUMENT_END_EVENT:
          document = std::move(result_);
          anchors_.clear();
          break;
        default:
          if (auto error = on_node_event(*event)) return qv_common::fail(std::move(*error));
          break;
      }
    }
  }

 private:
  struct Frame {
    Value value;
    std::string anchor;
    std::string tag;
    // Whether the last entry of a mapping holds a key that waits for its value.
    bool awaits_value = false;
    // The keys of a mapping's complete entries, for the check of repeated keys.
    KeyIndex keys;
  };
  struct Anchored {
    Value value;
    Extent extent;
  };

  std::string parser_error() const {
    const yaml_parser_t& p = *parser_;
    std::string message = p.problem != nullptr ? p.problem : "unknown YAML error";
    message += location(mark_of(p.problem_mark));
    if (p.context != nullptr) message += fmt::format(", {}{}", p.context, location(mark_of(p.context_mark)));
    return message;
  }

  std::optional<std::string> on_node_event(const yaml_event_t& event) {
    const Mark mark = mark_of(event.start_mark);
    switch (event.type) {
      case YAML_SCALAR_EVENT: {
        auto value = scalar(event, mark);
        if (!value) return std::move(value).error();
        return finish(std::move(*value), view_of(event.data.scalar.anchor), {});
      }
      case YAML_ALIAS_EVENT: return alias(view_of(event.data.alias.anchor), mark);
      case YAML_SEQUENCE_START_EVENT:
        return open(Value(reserved<Sequence>()), mark, view_of(event.data.sequence_start.anchor),
                    view_of(event.data.sequence_start.tag));
      case YAML_MAPPING_START_EVENT:
        return open(Value(reserved<Mapping>()), mark, view_of(event.data.mapping_start.anchor),
                    view_of(event.data.mapping_start.tag));
      case YAML_SEQUENCE_END_EVENT:
      case YAML_MAPPING_END_EVENT: {
        Frame frame = std::move(stack_.back());
        stack_.pop_back();
        return finish(std::move(frame.value), frame.anchor, frame.tag);
      }
      default: return std::nullopt;
    }
  }

  std::optional<std::string> open(Value value, Mark mark, std::string_view anchor, std::string_view tag) {
    if (stack_.size() >= kMaxDepth) {
      return fmt::format("recursion limit exceeded: nesting deeper than {} levels{}", kMaxDepth, location(mark));
    }
    value.set_mark(mark);
    stack_.push_back(Frame{std::move(value), std::string(anchor), std::string(tag), false, {}});
    return std::nullopt;
  }

  static qv_common::Result<Value, std::string> scalar(const yaml_event_t& event, Mark mark) {
    const auto& data = event.data.scalar;
    const std::string_view text(reinterpret_cast<const char*>(data.value), data.length);
    const std::string_view tag = view_of(data.tag);
    const bool plain = data.style == YAML_PLAIN_SCALAR_STYLE;
    if (tag.empty()) {
      // Built in place: most scalars take this way.
      qv_common::Result<Value, std::string> value(plain ? resolve_plain(text) : Value(text));
      value->set_mark(mark);
      return value;
    }
    Value value;
    if (tag == "!" || core_tag(tag) == "str") {
      value = Value(text);
    } else if (auto core = core_tag(tag); core == "null" || core == "bool" || core == "int" || core == "float") {
      value = resolve_plain(text);
      if (!matches_core(value, core)) {
        return qv_common::fail(fmt::format("invalid value: \"{}\" is not a !!{}{}", text, core, location(mark)));
      }
      value = of_core_kind(std::move(value), core, text);
    } else {
      Value inner = plain ? resolve_plain(text) : Value(text);
      inner.set_mark(mark);
      value = Value(Tagged{std::string(tag), std::move(inner)});
    }
    value.set_mark(mark);
    return value;
  }

  // Under an explicit core tag the tag decides the kind: an integer under
  // !!float is that float, and a null under !!null is explicit even when no
  // text follows the tag.
  static Value of_core_kind(Value value, std::string_view core, std::string_view text) {
    Value decided;
    if (core == "float" && value.kind() == Value::Kind::kInteger) {
      decided = Value(value.is_unsigned() ? static_cast<double>(value.as_unsigned())
                                          : static_cast<double>(value.as_negative()));
    } else if (value.is_empty_null()) {
      decided = Value(nullptr);
    } else {
      return value;
    }
    if (decided.raw() != text) decided.set_raw(std::string(text));
    return decided;
  }

  static bool matches_core(const Value& value, std::string_view core) {
    switch (value.kind()) {
      case Value::Kind::kNull: return core == "null";
      case Value::Kind::kBool: return core == "bool";
      case Value::Kind::kInteger: return core == "int" || core == "float";
      case Value::Kind::kFloat: return core == "float";
      default: return false;
    }
  }

  std::optional<std::string> alias(std::string_view name, Mark mark) {
    auto found = anchors_.find(name);
    if (found == anchors_.end()) return fmt::format("unknown anchor '{}'{}", name, location(mark));
    alias_nodes_ += found->second.extent.nodes;
    alias_bytes_ += found->second.extent.bytes;
    if (alias_nodes_ > kMaxAliasNodes) {
      return fmt::format("repetition limit exceeded: aliases expand to more than {} nodes{}", kMaxAliasNodes,
                         location(mark));
    }
    if (alias_bytes_ > kMaxAliasBytes) {
      return fmt::format("repetition limit exceeded: aliases expand to more than {} bytes{}", kMaxAliasBytes,
                         location(mark));
    }
    return add(Value(found->second.value));
  }

  std::optional<std::string> finish(Value&& value, std::string_view anchor, std::string_view tag) {
    if (!tag.empty() && tag != "!" && core_tag(tag) != "map" && core_tag(tag) != "seq") {
      const Mark mark = value.mark();
      value = Value(Tagged{std::string(tag), std::move(value)});
      value.set_mark(mark);
    }
    if (!anchor.empty()) {
      anchors_.insert_or_assign(std::string(anchor), Anchored{value, extent_of(value)});
    }
    return add(std::move(value));
  }

  std::optional<std::string> add(Value&& value) {
    if (stack_.empty()) {
      result_ = std::move(value);
      return std::nullopt;
    }
    Frame& top = stack_.back();
    if (top.value.is_sequence()) {
      top.value.as_sequence().push_back(std::move(value));
      return std::nullopt;
    }
    Mapping& mapping = top.value.as_mapping();
    if (!top.awaits_value) {
      mapping.push_back(std::move(value), Value());
      top.awaits_value = true;
      return std::nullopt;
    }
    auto& [key, item] = *std::prev(mapping.end());
    if (options_.reject_duplicate_keys && top.keys.find(mapping, key)) return duplicate_key(key);
    item = std::move(value);
    if (options_.reject_duplicate_keys) top.keys.add_next(mapping);
    top.awaits_value = false;
    return std::nullopt;
  }

  ParseOptions options_;
  std::unique_ptr<yaml_parser_t, ParserDeleter> parser_;
  std::vector<Frame> stack_;
  std::map<std::string, Anchored, std::less<>> anchors_;
  std::size_t alias_nodes_ = 0;
  std::size_t alias_bytes_ = 0;
  Value result_;
};

}  // namespace

qv_common::Result<Value, std::string> parse_single(std::string_view text, ParseOptions options) {
  return Builder(text, options).run();
}

qv_common::Result<void, std::string> check_unique_keys(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::kSequence:
      for (const Value& item : value.as_sequence()) QV_RETURN_IF_ERROR(check_unique_keys(item));
      return {};
    case Value::Kind::kTagged: return check_unique_keys(value.as_tagged().value);
    case Value::Kind::kMapping: {
      // A parse meets an entry's key and value before it adds the entry.
      const Mapping& mapping = value.as_mapping();
      KeyIndex keys;
      for (std::size_t i = 0; i < mapping.size(); ++i) {
        const auto& [key, item] = mapping.begin()[i];
        QV_RETURN_IF_ERROR(check_unique_keys(key));
        QV_RETURN_IF_ERROR(check_unique_keys(item));
        if (keys.find(mapping, key)) return qv_common::fail(duplicate_key(key));
        keys.add_next(mapping);
      }
      return {};
    }
    default: return {};
  }
}

std::string location(Mark mark) { return fmt::format(" at line {} column {}", mark.line + 1, mark.column + 1); }

}  // namespace qv_yaml

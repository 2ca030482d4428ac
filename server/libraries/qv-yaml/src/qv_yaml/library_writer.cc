#include "qv_yaml/library_writer.h"

#include <yaml.h>

#include <memory>
#include <new>

#include <fmt/format.h>

#include "qv_yaml/emit.h"
#include "qv_yaml/emit_rules.h"
#include "qv_yaml/parse.h"

namespace qv_yaml {
namespace {

struct EmitterDeleter {
  void operator()(yaml_emitter_t* emitter) const {
    yaml_emitter_delete(emitter);
    delete emitter;
  }
};

// The emitter's text so far, up to a size, and why it stopped growing.
struct Output {
  std::string text;
  std::size_t max_bytes;
  bool too_long = false;
  bool out_of_memory = false;
};

// A refused write ends the emitter's work with an error. No exception may
// cross the C library, so running out of memory is noted and thrown again
// once the emitter has returned.
int append_output(void* data, unsigned char* buffer, size_t size) {
  auto& output = *static_cast<Output*>(data);
  if (size > output.max_bytes || output.text.size() > output.max_bytes - size) {
    output.too_long = true;
    return 0;
  }
  try {
    output.text.append(reinterpret_cast<const char*>(buffer), size);
  } catch (const std::bad_alloc&) {
    output.out_of_memory = true;
    return 0;
  }
  return 1;
}

yaml_char_t* chars(const std::string& text) {
  return reinterpret_cast<yaml_char_t*>(const_cast<char*>(text.c_str()));
}

class Writer {
 public:
  explicit Writer(std::size_t max_bytes) : out_{.text = {}, .max_bytes = max_bytes}, emitter_(new yaml_emitter_t) {
    yaml_emitter_initialize(emitter_.get());
    yaml_emitter_set_output(emitter_.get(), append_output, &out_);
    yaml_emitter_set_unicode(emitter_.get(), 1);
    yaml_emitter_set_width(emitter_.get(), -1);
    yaml_emitter_set_indent(emitter_.get(), 2);
  }

  qv_common::Result<std::string, std::string> write(const Value& value) {
    yaml_event_t event;
    yaml_stream_start_event_initialize(&event, YAML_UTF8_ENCODING);
    if (!emit(event)) return fail();
    yaml_document_start_event_initialize(&event, nullptr, nullptr, nullptr, 1);
    if (!emit(event) || !node(value, nullptr, 0)) return fail();
    yaml_document_end_event_initialize(&event, 1);
    if (!emit(event)) return fail();
    yaml_stream_end_event_initialize(&event);
    if (!emit(event) || !yaml_emitter_flush(emitter_.get())) return fail();
    return std::move(out_.text);
  }

 private:
  bool emit(yaml_event_t& event) { return yaml_emitter_emit(emitter_.get(), &event) != 0; }

  qv_common::Result<std::string, std::string> fail() const {
    if (out_.out_of_memory) throw std::bad_alloc();
    if (out_.too_long) return qv_common::fail(size_limit_exceeded(out_.max_bytes));
    if (!error_.empty()) return qv_common::fail(error_);
    const char* problem = emitter_->problem;
    return qv_common::fail(std::string(problem != nullptr ? problem : "could not write YAML"));
  }

  bool scalar(const std::string& text, const std::string* tag, yaml_scalar_style_t style) {
    yaml_event_t event;
    const int implicit = tag == nullptr ? 1 : 0;
    yaml_scalar_event_initialize(&event, nullptr, tag != nullptr ? chars(*tag) : nullptr, chars(text),
                                 static_cast<int>(text.size()), implicit, implicit, style);
    return emit(event);
  }

  bool string(const std::string& text, const std::string* tag) {
    switch (string_style(text)) {
      case StringStyle::kLiteral: return scalar(text, tag, YAML_LITERAL_SCALAR_STYLE);
      case StringStyle::kSingleQuoted: return scalar(text, tag, YAML_SINGLE_QUOTED_SCALAR_STYLE);
      case StringStyle::kAny: break;
    }
    return scalar(text, tag, YAML_ANY_SCALAR_STYLE);
  }

  // Writes one node at nesting `depth`. What is written must read back, so a
  // document nested deeper than a read accepts is refused.
  bool node(const Value& value, const std::string* tag, std::size_t depth) {
    yaml_event_t event;
    if (depth >= kMaxDepth && (value.is_sequence() || value.is_mapping())) {
      error_ = fmt::format("recursion limit exceeded: nesting deeper than {} levels", kMaxDepth);
      return false;
    }
    switch (value.kind()) {
      case Value::Kind::kNull:
      case Value::Kind::kBool:
      case Value::Kind::kInteger:
      case Value::Kind::kFloat: return scalar(canonical_text(value), tag, YAML_PLAIN_SCALAR_STYLE);
      case Value::Kind::kString: return string(value.as_string(), tag);
      case Value::Kind::kSequence:
        yaml_sequence_start_event_initialize(&event, nullptr, tag != nullptr ? chars(*tag) : nullptr,
                                             tag == nullptr ? 1 : 0, YAML_BLOCK_SEQUENCE_STYLE);
        if (!emit(event)) return false;
        for (const Value& item : value.as_sequence()) {
          if (!node(item, nullptr, depth + 1)) return false;
        }
        yaml_sequence_end_event_initialize(&event);
        return emit(event);
      case Value::Kind::kMapping:
        yaml_mapping_start_event_initialize(&event, nullptr, tag != nullptr ? chars(*tag) : nullptr,
                                            tag == nullptr ? 1 : 0, YAML_BLOCK_MAPPING_STYLE);
        if (!emit(event)) return false;
        for (const auto& [key, item] : value.as_mapping()) {
          if (!node(key, nullptr, depth + 1) || !node(item, nullptr, depth + 1)) return false;
        }
        yaml_mapping_end_event_initialize(&event);
        return emit(event);
      case Value::Kind::kTagged: {
        const Tagged& tagged = value.as_tagged();
        if (tagged.value.is_tagged()) {
          error_ = "a tagged value cannot hold another tagged value";
          return false;
        }
        return node(tagged.value, &tagged.tag, depth);
      }
    }
    return false;
  }

  Output out_;
  std::string error_;
  std::unique_ptr<yaml_emitter_t, EmitterDeleter> emitter_;
};

}  // namespace

qv_common::Result<std::string, std::string> write_with_library(const Value& value, std::size_t max_bytes) {
  return Writer(max_bytes).write(value);
}

}  // namespace qv_yaml

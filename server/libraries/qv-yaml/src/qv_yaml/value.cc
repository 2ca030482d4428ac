#include "qv_yaml/value.h"

#include <charconv>
#include <cmath>

#include "qv_yaml/key_index.h"

namespace qv_yaml {
namespace {

// Empty nulls share one raw text, so that telling them apart costs nothing
// per value.
const std::shared_ptr<const std::string>& empty_text() {
  static const auto text = std::make_shared<const std::string>();
  return text;
}

}  // namespace

const Value* Mapping::find(const Value& key) const {
  for (const auto& [k, v] : entries_) {
    if (k == key) return &v;
  }
  return nullptr;
}

Value* Mapping::find(const Value& key) {
  return const_cast<Value*>(std::as_const(*this).find(key));
}

const Value* Mapping::find(std::string_view key) const {
  for (const auto& [k, v] : entries_) {
    if (k.is_string() && k.as_string() == key) return &v;
  }
  return nullptr;
}

Value* Mapping::find(std::string_view key) {
  return const_cast<Value*>(std::as_const(*this).find(key));
}

void Mapping::insert(Value key, Value value) {
  if (Value* existing = find(key)) {
    *existing = std::move(value);
    return;
  }
  entries_.emplace_back(std::move(key), std::move(value));
}

bool Mapping::swap_remove(const Value& key) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->first == key) {
      if (std::next(it) != entries_.end()) *it = std::move(entries_.back());
      entries_.pop_back();
      return true;
    }
  }
  return false;
}

bool operator==(const Mapping& a, const Mapping& b) {
  if (a.size() != b.size()) return false;
  KeyIndex keys;
  for (std::size_t taken = 0; taken < b.size(); ++taken) keys.add_next(b);
  for (const auto& [key, value] : a.entries_) {
    const auto other = keys.find(b, key);
    if (!other || !(b.entries_[*other].second == value)) return false;
  }
  return true;
}

Value::Value(std::int64_t n) {
  if (n >= 0) {
    data_ = static_cast<std::uint64_t>(n);
  } else {
    data_ = n;
  }
}

Value::Value(Tagged t) : data_(Box<Tagged>(std::move(t))) {}

Value Value::empty_null() {
  Value value;
  value.raw_ = empty_text();
  return value;
}

bool Value::is_empty_null() const { return is_null() && raw_ == empty_text(); }

Value::Kind Value::kind() const {
  switch (data_.index()) {
    case 0: return Kind::kNull;
    case 1: return Kind::kBool;
    case 2:
    case 3: return Kind::kInteger;
    case 4: return Kind::kFloat;
    case 5: return Kind::kString;
    case 6: return Kind::kSequence;
    case 7: return Kind::kMapping;
    default: return Kind::kTagged;
  }
}

const Value& Value::untagged() const {
  const Value* value = this;
  while (value->is_tagged()) value = &value->as_tagged().value;
  return *value;
}

Value& Value::untagged() {
  return const_cast<Value&>(std::as_const(*this).untagged());
}

std::string Value::raw() const {
  if (raw_) return *raw_;
  switch (kind()) {
    case Kind::kNull: return "null";
    case Kind::kBool: return as_bool() ? "true" : "false";
    case Kind::kInteger:
      return is_unsigned() ? std::to_string(as_unsigned()) : std::to_string(as_negative());
    case Kind::kFloat: return float_text(as_double());
    case Kind::kString: return as_string();
    default: return {};
  }
}

bool operator==(const Value& a, const Value& b) {
  if (a.data_.index() != b.data_.index()) return false;
  // Strings first: they are what mapping keys nearly always are.
  if (a.is_string()) return a.as_string() == b.as_string();
  if (a.kind() == Value::Kind::kFloat) {
    const double x = a.as_double();
    const double y = b.as_double();
    return x == y || (std::isnan(x) && std::isnan(y));
  }
  return a.data_ == b.data_;
}

std::string float_text(double value) {
  if (std::isnan(value)) return ".nan";
  if (std::isinf(value)) return value > 0 ? ".inf" : "-.inf";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

}  // namespace qv_yaml

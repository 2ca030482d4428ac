#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "qv_yaml/box.h"

namespace qv_yaml {

// Where a node starts in its document, zero-based.
struct Mark {
  std::uint32_t line = 0;
  std::uint32_t column = 0;
};

class Value;
class Mapping;
struct Tagged;

using Sequence = std::vector<Value>;

// A mapping that keeps insertion order and takes any value as key.
class Mapping {
 public:
  using Entry = std::pair<Value, Value>;

  using iterator = std::vector<Entry>::iterator;
  using const_iterator = std::vector<Entry>::const_iterator;

  std::size_t size() const;
  bool empty() const;
  iterator begin();
  iterator end();
  const_iterator begin() const;
  const_iterator end() const;

  const Value* find(const Value& key) const;
  Value* find(const Value& key);
  // The value under the string key `key`; keys of other kinds never match.
  const Value* find(std::string_view key) const;
  Value* find(std::string_view key);
  const Value* find(const char* key) const;
  Value* find(const char* key);
  bool contains(const Value& key) const { return find(key) != nullptr; }

  // Appends the entry, or replaces the value in place when the key exists.
  void insert(Value key, Value value);
  // Appends without looking for an existing key (a parse of a document that
  // repeats keys keeps every entry).
  void push_back(Value key, Value value);
  void reserve(std::size_t size);
  // Removes the key; the last entry takes the removed entry's place.
  bool swap_remove(const Value& key);

  friend bool operator==(const Mapping& a, const Mapping& b);

 private:
  std::vector<Entry> entries_;
};

// A dynamic YAML value: null, boolean, integer, float, string, sequence,
// mapping or tagged value. Integers keep their sign apart: a non-negative
// integer is held as unsigned, a negative one as signed. Scalars remember the
// text they were written with, and every node where it started; neither
// takes part in equality.
class Value {
 public:
  enum class Kind : std::uint8_t { kNull, kBool, kInteger, kFloat, kString, kSequence, kMapping, kTagged };

  Value() = default;
  Value(std::nullptr_t) {}
  // A null written as no text at all, such as a key with nothing after its
  // colon. It equals every null, but `is_empty_null` tells it apart from an
  // explicit one (~, null, !!null).
  static Value empty_null();
  Value(bool b) : data_(b) {}
  Value(std::uint64_t n) : data_(n) {}
  Value(std::int64_t n);
  Value(int n) : Value(static_cast<std::int64_t>(n)) {}
  Value(double d) : data_(d) {}
  Value(std::string s) : data_(std::move(s)) {}
  Value(std::string_view s) : data_(std::in_place_type<std::string>, s) {}
  Value(const char* s) : data_(std::in_place_type<std::string>, s) {}
  Value(Sequence s) : data_(std::move(s)) {}
  Value(Mapping m) : data_(std::move(m)) {}
  Value(Tagged t);

  Kind kind() const;
  bool is_null() const { return kind() == Kind::kNull; }
  bool is_empty_null() const;
  bool is_string() const { return kind() == Kind::kString; }
  bool is_sequence() const { return kind() == Kind::kSequence; }
  bool is_mapping() const { return kind() == Kind::kMapping; }
  bool is_tagged() const { return kind() == Kind::kTagged; }
  // Unsigned integer (non-negative), signed integer (negative).
  bool is_unsigned() const { return std::holds_alternative<std::uint64_t>(data_); }
  bool is_negative() const { return std::holds_alternative<std::int64_t>(data_); }

  bool as_bool() const { return std::get<bool>(data_); }
  std::uint64_t as_unsigned() const { return std::get<std::uint64_t>(data_); }
  std::int64_t as_negative() const { return std::get<std::int64_t>(data_); }
  double as_double() const { return std::get<double>(data_); }
  const std::string& as_string() const { return std::get<std::string>(data_); }
  const Sequence& as_sequence() const { return std::get<Sequence>(data_); }
  Sequence& as_sequence() { return std::get<Sequence>(data_); }
  const Mapping& as_mapping() const { return std::get<Mapping>(data_); }
  Mapping& as_mapping() { return std::get<Mapping>(data_); }
  const Tagged& as_tagged() const { return *std::get<Box<Tagged>>(data_); }
  Tagged& as_tagged() { return *std::get<Box<Tagged>>(data_); }

  // The value itself, or the value inside any number of tags.
  const Value& untagged() const;
  Value& untagged();

  // The text a scalar was written with in its document; for values built in
  // code, the canonical text of the scalar. Empty for collections.
  std::string raw() const;
  void set_raw(std::string raw) { raw_ = std::make_shared<const std::string>(std::move(raw)); }

  Mark mark() const { return mark_; }
  void set_mark(Mark mark) { mark_ = mark; }

  // Equality of contents: mappings compare regardless of entry order.
  friend bool operator==(const Value& a, const Value& b);

 private:
  std::variant<std::monostate, bool, std::uint64_t, std::int64_t, double, std::string, Sequence,
               Mapping, Box<Tagged>>
      data_;
  // Shared between copies: it never changes once set.
  std::shared_ptr<const std::string> raw_;
  Mark mark_;
};

// A value under a tag, as its document resolved it: a local tag such as
// "!name", or a global one such as "tag:yaml.org,2002:binary" (!!binary).
struct Tagged {
  std::string tag;
  Value value;

  friend bool operator==(const Tagged& a, const Tagged& b) {
    return a.tag == b.tag && a.value == b.value;
  }
};

inline std::size_t Mapping::size() const { return entries_.size(); }
inline bool Mapping::empty() const { return entries_.empty(); }
inline Mapping::iterator Mapping::begin() { return entries_.begin(); }
inline Mapping::iterator Mapping::end() { return entries_.end(); }
inline Mapping::const_iterator Mapping::begin() const { return entries_.begin(); }
inline Mapping::const_iterator Mapping::end() const { return entries_.end(); }
inline void Mapping::reserve(std::size_t size) { entries_.reserve(size); }
inline void Mapping::push_back(Value key, Value value) { entries_.emplace_back(std::move(key), std::move(value)); }
inline const Value* Mapping::find(const char* key) const { return find(std::string_view(key)); }
inline Value* Mapping::find(const char* key) { return find(std::string_view(key)); }

// The canonical text of a float: shortest round-trip digits, ".inf", "-.inf"
// or ".nan", always readable back as a float.
std::string float_text(double value);

}  // namespace qv_yaml

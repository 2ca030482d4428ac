#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/error/descriptor.h"
#include "base/error/entry.h"

namespace base::error::catalog {

// The common face of every error enumeration `Self`: its value is an entry of
// its descriptor table, built by Self's static factories through `make`.
// Self declares `friend Enumeration;` and a private constructor from an Entry.
template <typename Self>
class Enumeration {
 public:
  std::uint16_t code() const { return entry_.descriptor().code; }
  std::string_view name() const { return entry_.descriptor().name; }
  std::string message() const { return entry_.message(); }
  std::string debug() const { return entry_.debug(); }
  std::string debug_pretty() const { return entry_.debug_pretty(); }
  const Entry& entry() const { return entry_; }

  friend bool operator==(const Self& left, const Self& right) { return left.entry() == right.entry(); }

 protected:
  explicit Enumeration(Entry entry) : entry_(std::move(entry)) {}

  template <typename... Args>
  static Self make(const Descriptor& descriptor, Args&&... args) {
    std::vector<Field> fields;
    fields.reserve(sizeof...(Args));
    (fields.push_back(field_of(std::forward<Args>(args))), ...);
    return Self(Entry(descriptor, std::move(fields)));
  }

 private:
  Entry entry_;
};

}  // namespace base::error::catalog

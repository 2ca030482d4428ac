#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "base/error/descriptor.h"

namespace base::error::catalog {

class Entry;

// A field holding another enumeration's value.
struct Nested {
  std::shared_ptr<const Entry> entry;

  bool operator==(const Nested& other) const;
};

// A field value: text, an unsigned number or a nested enumeration value.
using Field = std::variant<std::string, std::uint64_t, Nested>;

// One value of an error enumeration: its variant and its fields in
// declaration order. Renders itself generically from the descriptor.
class Entry {
 public:
  Entry(const Descriptor& descriptor, std::vector<Field> fields);

  const Descriptor& descriptor() const { return *descriptor_; }
  const std::vector<Field>& fields() const { return fields_; }

  // The display form: the message template with its placeholders filled.
  std::string message() const;
  // The derived debug form on one line.
  std::string debug() const;
  // The derived multi-line debug form: four blanks of indent, trailing commas.
  std::string debug_pretty() const;

  friend bool operator==(const Entry& left, const Entry& right);

 private:
  const Descriptor* descriptor_;
  std::vector<Field> fields_;
};

Field field_of(std::string text);
Field field_of(std::uint64_t number);
Field field_of(Entry nested);

}  // namespace base::error::catalog

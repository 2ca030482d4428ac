#pragma once

// The home schema of a component: a checked name, shown bare (no quotes).

#include <string>
#include <string_view>

#include "result.h"

namespace config::schema {

class Schema {
 public:
  // Refuses a name that config::name does not accept, naming the field "schema".
  static qv_common::Result<Schema, std::string> parse(std::string_view name);

  const std::string& to_string() const { return name_; }

  friend bool operator==(const Schema&, const Schema&) = default;

 private:
  explicit Schema(std::string name) : name_(std::move(name)) {}
  std::string name_;
};

}  // namespace config::schema

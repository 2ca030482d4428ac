#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace base::error::catalog {

// How a variant carries its fields.
enum class Form : std::uint8_t { Unit, Tuple, Record };

inline constexpr std::size_t kMaxFields = 4;
inline constexpr std::size_t kMaxPlaceholders = 4;

// One variant of an error enumeration: its code, name, fields and message.
struct Descriptor {
  std::uint16_t code;
  std::string_view name;
  Form form;
  std::array<std::string_view, kMaxFields> field_names;  // records only
  std::size_t arity;
  // The message template: the i-th "{}" is filled with the field order[i].
  std::string_view message;
  std::array<std::uint8_t, kMaxPlaceholders> order;
  std::size_t placeholders;
};

// Reached only by an inconsistent descriptor; being no constant expression,
// it stops the build of a constexpr descriptor.
[[noreturn]] void invalid_descriptor();

namespace detail {

constexpr std::size_t count_placeholders(std::string_view message) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '{' && i + 1 < message.size() && message[i + 1] == '}') {
      ++count;
      ++i;
    } else if (message[i] == '{' || message[i] == '}') {
      invalid_descriptor();
    }
  }
  return count;
}

constexpr Descriptor make(std::uint16_t code, std::string_view name, Form form,
                          std::initializer_list<std::string_view> field_names, std::size_t arity,
                          std::string_view message, std::initializer_list<std::uint8_t> order) {
  if (arity > kMaxFields || order.size() > kMaxPlaceholders) invalid_descriptor();
  if (count_placeholders(message) != order.size()) invalid_descriptor();
  Descriptor descriptor{code, name, form, {}, arity, message, {}, order.size()};
  std::size_t i = 0;
  for (std::string_view field : field_names) descriptor.field_names[i++] = field;
  i = 0;
  for (std::uint8_t field : order) {
    if (field >= arity) invalid_descriptor();
    descriptor.order[i++] = field;
  }
  return descriptor;
}

}  // namespace detail

constexpr Descriptor unit(std::uint16_t code, std::string_view name, std::string_view message) {
  return detail::make(code, name, Form::Unit, {}, 0, message, {});
}

constexpr Descriptor tuple(std::uint16_t code, std::string_view name, std::size_t arity, std::string_view message,
                           std::initializer_list<std::uint8_t> order) {
  return detail::make(code, name, Form::Tuple, {}, arity, message, order);
}

constexpr Descriptor record(std::uint16_t code, std::string_view name,
                            std::initializer_list<std::string_view> field_names, std::string_view message,
                            std::initializer_list<std::uint8_t> order) {
  return detail::make(code, name, Form::Record, field_names, field_names.size(), message, order);
}

}  // namespace base::error::catalog

#pragma once
// An SQL identifier: a table, column, alias, index or constraint name. The
// builder always writes it in double quotes (inner quotes doubled).

#include <concepts>
#include <string>
#include <string_view>
#include <utility>

namespace sqlbuilder {

// An enumeration of identifiers (a table module's `Users`, say) takes part by
// providing `to_string(value)`, found by argument-dependent lookup.
template <typename E>
concept IdentifierEnum = std::is_enum_v<E> && requires(E e) {
  { to_string(e) } -> std::convertible_to<std::string_view>;
};

class Iden {
 public:
  Iden(const char* text) : text_(text) {}
  Iden(std::string text) : text_(std::move(text)) {}
  Iden(std::string_view text) : text_(text) {}
  template <IdentifierEnum E>
  Iden(E e) : text_(to_string(e)) {}

  // The bare text, without quotes.
  const std::string& text() const { return text_; }

  friend bool operator==(const Iden&, const Iden&) = default;

 private:
  std::string text_;
};

}  // namespace sqlbuilder

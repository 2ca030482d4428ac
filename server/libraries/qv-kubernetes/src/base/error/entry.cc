#include "base/error/entry.h"

#include <cassert>
#include <cstdlib>

#include "debug_quote.h"

namespace base::error::catalog {
namespace {

constexpr std::string_view kIndent = "    ";

std::string message_of(const Field& field) {
  if (const auto* text = std::get_if<std::string>(&field)) return *text;
  if (const auto* number = std::get_if<std::uint64_t>(&field)) return std::to_string(*number);
  return std::get<Nested>(field).entry->message();
}

std::string debug_of(const Field& field, bool pretty) {
  if (const auto* text = std::get_if<std::string>(&field)) return qv_error::debug_quote(*text);
  if (const auto* number = std::get_if<std::uint64_t>(&field)) return std::to_string(*number);
  const Entry& nested = *std::get<Nested>(field).entry;
  return pretty ? nested.debug_pretty() : nested.debug();
}

// Indents every line of `text` by one level.
std::string indented(std::string_view text) {
  std::string out(kIndent);
  for (char c : text) {
    out += c;
    if (c == '\n') out += kIndent;
  }
  return out;
}

// "name: " before a record field's value, nothing before a tuple field's.
std::string label(const Descriptor& descriptor, std::size_t index) {
  if (descriptor.form != Form::Record) return "";
  return std::string(descriptor.field_names[index]) + ": ";
}

}  // namespace

void invalid_descriptor() { std::abort(); }

bool Nested::operator==(const Nested& other) const { return *entry == *other.entry; }

Entry::Entry(const Descriptor& descriptor, std::vector<Field> fields)
    : descriptor_(&descriptor), fields_(std::move(fields)) {
  assert(fields_.size() == descriptor.arity);
}

std::string Entry::message() const {
  std::string out;
  std::string_view rest = descriptor_->message;
  for (std::size_t i = 0; i < descriptor_->placeholders; ++i) {
    const auto at = rest.find("{}");
    out += rest.substr(0, at);
    out += message_of(fields_[descriptor_->order[i]]);
    rest.remove_prefix(at + 2);
  }
  out += rest;
  return out;
}

std::string Entry::debug() const {
  if (descriptor_->form == Form::Unit) return std::string(descriptor_->name);
  const bool record = descriptor_->form == Form::Record;
  std::string out(descriptor_->name);
  out += record ? " { " : "(";
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (i > 0) out += ", ";
    out += label(*descriptor_, i) + debug_of(fields_[i], false);
  }
  out += record ? " }" : ")";
  return out;
}

std::string Entry::debug_pretty() const {
  if (descriptor_->form == Form::Unit) return std::string(descriptor_->name);
  const bool record = descriptor_->form == Form::Record;
  std::string out(descriptor_->name);
  out += record ? " {\n" : "(\n";
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    out += indented(label(*descriptor_, i) + debug_of(fields_[i], true)) + ",\n";
  }
  out += record ? "}" : ")";
  return out;
}

bool operator==(const Entry& left, const Entry& right) {
  return left.descriptor_ == right.descriptor_ && left.fields_ == right.fields_;
}

Field field_of(std::string text) { return Field(std::move(text)); }
Field field_of(std::uint64_t number) { return Field(number); }
Field field_of(Entry nested) { return Field(Nested{std::make_shared<const Entry>(std::move(nested))}); }

}  // namespace base::error::catalog

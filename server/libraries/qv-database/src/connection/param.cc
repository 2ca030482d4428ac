#include "connection/param.h"

namespace connection {
namespace {

template <typename... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};

}  // namespace

Oid type_of(const Param& param) {
  return std::visit(Overloaded{
                        [](Null) { return type_oid::kUnknown; },
                        [](const std::string&) { return type_oid::kText; },
                        [](std::int32_t) { return type_oid::kInt4; },
                        [](std::int64_t) { return type_oid::kInt8; },
                        [](bool) { return type_oid::kBool; },
                    },
                    param);
}

std::optional<std::string> text_of(const Param& param) {
  return std::visit(Overloaded{
                        [](Null) -> std::optional<std::string> { return std::nullopt; },
                        [](const std::string& text) -> std::optional<std::string> { return text; },
                        [](std::int32_t number) -> std::optional<std::string> { return std::to_string(number); },
                        [](std::int64_t number) -> std::optional<std::string> { return std::to_string(number); },
                        [](bool flag) -> std::optional<std::string> { return flag ? "true" : "false"; },
                    },
                    param);
}

}  // namespace connection

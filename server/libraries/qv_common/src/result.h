#pragma once

#include <tl/expected.hpp>

namespace qv_common {

// A value or an error. [[nodiscard]] turns a dropped error into a warning.
template <typename T, typename E>
class [[nodiscard]] Result : public tl::expected<T, E> {
 public:
  using tl::expected<T, E>::expected;
  Result(tl::expected<T, E> other) : tl::expected<T, E>(std::move(other)) {}
};

template <typename E>
tl::unexpected<std::decay_t<E>> fail(E&& error) {
  return tl::unexpected<std::decay_t<E>>(std::forward<E>(error));
}

}  // namespace qv_common

// Evaluates `expr` (a Result); on error returns the error from the enclosing
// function, otherwise binds the value to `lhs`.
#define QV_ASSIGN_OR_RETURN(lhs, expr) QV_ASSIGN_OR_RETURN_IMPL(QV_CONCAT(qv_result_, __LINE__), lhs, expr)
#define QV_ASSIGN_OR_RETURN_IMPL(tmp, lhs, expr) \
  auto tmp = (expr);                             \
  if (!tmp) return ::tl::unexpected(std::move(tmp).error()); \
  lhs = std::move(tmp).value()
#define QV_CONCAT(a, b) QV_CONCAT_IMPL(a, b)
#define QV_CONCAT_IMPL(a, b) a##b

// Evaluates `expr` (a Result); on error returns the error from the enclosing function.
#define QV_RETURN_IF_ERROR(expr) QV_RETURN_IF_ERROR_IMPL(QV_CONCAT(qv_status_, __LINE__), expr)
#define QV_RETURN_IF_ERROR_IMPL(tmp, expr) \
  if (auto tmp = (expr); !tmp) return ::tl::unexpected(std::move(tmp).error())

#pragma once

// A pending operation: its body is allocated once when the operation is
// called, holds what the call was given, and runs on the caller's thread when
// the caller awaits it with `get`. A task dropped unawaited runs nothing.

#include <concepts>
#include <memory>
#include <utility>

namespace qv_common {

template <typename T>
class [[nodiscard]] Task {
 public:
  template <std::invocable F>
    requires std::convertible_to<std::invoke_result_t<F>, T>
  explicit Task(F body) : body_(std::make_unique<Body<F>>(std::move(body))) {}

  // A task whose result is known already; awaiting it runs nothing.
  static Task ready(T value) {
    return Task([value = std::move(value)]() mutable { return std::move(value); });
  }

  // Runs the body to its end and gives its result; a task is awaited once.
  T get() && {
    std::unique_ptr<Base> body = std::move(body_);
    return body->run();
  }

 private:
  struct Base {
    virtual ~Base() = default;
    virtual T run() = 0;
  };
  template <typename F>
  struct Body final : Base {
    explicit Body(F f) : function(std::move(f)) {}
    T run() override { return function(); }
    F function;
  };

  std::unique_ptr<Base> body_;
};

}  // namespace qv_common

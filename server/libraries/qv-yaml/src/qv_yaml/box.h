#pragma once

#include <memory>

namespace qv_yaml {

// A heap-allocated value with value semantics: copies are deep.
template <typename T>
class Box {
 public:
  explicit Box(T value) : ptr_(std::make_unique<T>(std::move(value))) {}
  Box(const Box& other) : ptr_(std::make_unique<T>(*other.ptr_)) {}
  Box(Box&&) noexcept = default;
  Box& operator=(const Box& other) {
    if (this != &other) ptr_ = std::make_unique<T>(*other.ptr_);
    return *this;
  }
  Box& operator=(Box&&) noexcept = default;

  T& operator*() { return *ptr_; }
  const T& operator*() const { return *ptr_; }
  T* operator->() { return ptr_.get(); }
  const T* operator->() const { return ptr_.get(); }

  friend bool operator==(const Box& a, const Box& b) { return *a.ptr_ == *b.ptr_; }

 private:
  std::unique_ptr<T> ptr_;
};

}  // namespace qv_yaml

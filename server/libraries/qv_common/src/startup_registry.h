#pragma once

// A start-up registry: a process-wide singly linked list of static entries,
// filled by static constructors before main runs and read-only afterwards.

#include <atomic>
#include <cstddef>
#include <iterator>

namespace qv_common::startup_registry {

template <typename T>
class StartupRegistry {
 public:
  // One link of the list. It refers to a static entry and lives as long as
  // the process.
  class Node {
   public:
    explicit constexpr Node(const T& entry) : entry_(&entry) {}
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

   private:
    friend class StartupRegistry;
    const T* entry_;
    const Node* next_ = nullptr;
  };

  class Iterator {
   public:
    using value_type = T;
    using difference_type = std::ptrdiff_t;

    Iterator() = default;
    explicit Iterator(const Node* node) : node_(node) {}

    const T& operator*() const { return *node_->entry_; }
    Iterator& operator++() {
      node_ = node_->next_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    friend bool operator==(Iterator, Iterator) = default;

   private:
    const Node* node_ = nullptr;
  };

  constexpr StartupRegistry() = default;
  StartupRegistry(const StartupRegistry&) = delete;
  StartupRegistry& operator=(const StartupRegistry&) = delete;

  // Lock-free and safe against concurrent submitters: the node links to the
  // head it saw and replaces it only if no one else did in between.
  void submit(Node& node) {
    Node* head = head_.load(std::memory_order_relaxed);
    do {
      node.next_ = head;
    } while (!head_.compare_exchange_weak(head, &node, std::memory_order_release, std::memory_order_relaxed));
  }

  // A walk meets the entries last submitted first.
  Iterator begin() const { return Iterator(head_.load(std::memory_order_acquire)); }
  Iterator end() const { return Iterator(); }

 private:
  std::atomic<Node*> head_{nullptr};
};

// One start-up registration: a static entry and its node, submitted through
// `T::submit` when constructed. Defined at namespace scope, it registers
// before main runs.
template <typename T>
class Registration {
 public:
  explicit Registration(const T& entry) : entry_(entry), node_(entry_) { T::submit(node_); }

 private:
  const T entry_;
  typename StartupRegistry<T>::Node node_;
};

}  // namespace qv_common::startup_registry

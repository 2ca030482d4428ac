#pragma once

#include <cstddef>
#include <optional>
#include <unordered_map>

#include "qv_yaml/value.h"

namespace qv_yaml {

// A hash of a value that agrees with value equality: equal values hash alike,
// mappings whatever the order of their entries.
std::size_t hash_of(const Value& value);

// Finds keys among the first entries of one mapping, by a scan while they
// are few and by hash once they are many, so that looking up every key of a
// large mapping stays linear.
class KeyIndex {
 public:
  // Takes in the next entry of `mapping`.
  void add_next(const Mapping& mapping);
  // The position of an entry taken in whose key equals `key`.
  std::optional<std::size_t> find(const Mapping& mapping, const Value& key) const;

 private:
  static constexpr std::size_t kScanned = 16;

  // How many entries, from the first, are taken in.
  std::size_t count_ = 0;
  std::unordered_multimap<std::size_t, std::size_t> hashed_;
};

}  // namespace qv_yaml

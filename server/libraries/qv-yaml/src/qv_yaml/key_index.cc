#include "qv_yaml/key_index.h"

#include <cmath>
#include <functional>

namespace qv_yaml {
namespace {

std::size_t combine(std::size_t seed, std::size_t value) {
  return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

const Value& key_at(const Mapping& mapping, std::size_t position) { return mapping.begin()[position].first; }

}  // namespace

std::size_t hash_of(const Value& value) {
  const auto kind = static_cast<std::size_t>(value.kind());
  switch (value.kind()) {
    case Value::Kind::kNull: return kind;
    case Value::Kind::kBool: return combine(kind, value.as_bool() ? 1 : 0);
    case Value::Kind::kInteger:
      return combine(kind, value.is_unsigned() ? std::hash<std::uint64_t>()(value.as_unsigned())
                                               : std::hash<std::int64_t>()(value.as_negative()));
    case Value::Kind::kFloat: {
      const double number = value.as_double();
      // NaN equals NaN, and 0.0 equals -0.0.
      if (std::isnan(number)) return combine(kind, 1);
      return combine(kind, std::hash<double>()(number == 0.0 ? 0.0 : number));
    }
    case Value::Kind::kString: return combine(kind, std::hash<std::string>()(value.as_string()));
    case Value::Kind::kSequence: {
      std::size_t seed = kind;
      for (const Value& item : value.as_sequence()) seed = combine(seed, hash_of(item));
      return seed;
    }
    case Value::Kind::kMapping: {
      // A sum does not depend on the order of the entries.
      std::size_t sum = 0;
      for (const auto& [key, item] : value.as_mapping()) sum += combine(hash_of(key), hash_of(item));
      return combine(kind, sum);
    }
    case Value::Kind::kTagged: {
      const Tagged& tagged = value.as_tagged();
      return combine(combine(kind, std::hash<std::string>()(tagged.tag)), hash_of(tagged.value));
    }
  }
  return kind;
}

void KeyIndex::add_next(const Mapping& mapping) {
  ++count_;
  if (count_ < kScanned) return;
  if (count_ == kScanned) {
    for (std::size_t position = 0; position < count_; ++position) {
      hashed_.emplace(hash_of(key_at(mapping, position)), position);
    }
    return;
  }
  hashed_.emplace(hash_of(key_at(mapping, count_ - 1)), count_ - 1);
}

std::optional<std::size_t> KeyIndex::find(const Mapping& mapping, const Value& key) const {
  if (count_ < kScanned) {
    for (std::size_t position = 0; position < count_; ++position) {
      if (key_at(mapping, position) == key) return position;
    }
    return std::nullopt;
  }
  const auto [first, last] = hashed_.equal_range(hash_of(key));
  for (auto it = first; it != last; ++it) {
    if (key_at(mapping, it->second) == key) return it->second;
  }
  return std::nullopt;
}

}  // namespace qv_yaml

#pragma once

#include <cstdint>
#include <string>

namespace runtime::instance::upgrade::apply {

// The work that the edit operations of one command may do together, shared
// by every operation of every step the command applies. An operation's own
// bounds hold for one operation only; this one keeps a spec that repeats an
// operation many times (through aliases, say) from making the run grow
// without end. Work is counted in units of about one step of the matcher.
class WorkBudget {
 public:
  static constexpr std::uint64_t kUnits = std::uint64_t{1} << 31;
  // What a byte parsed or rendered costs, and a search begun: each takes
  // about as long as that many steps of the matcher.
  static constexpr std::uint64_t kByteCost = 16;
  // What each byte of a document costs an operation that edits it: this
  // bounds what its walks, lookups and rebuilt mappings look through.
  static constexpr std::uint64_t kEditByteCost = 2;

  explicit WorkBudget(std::uint64_t units = kUnits) : units_(units), left_(units) {}

  // Takes `units`; false, taking nothing, when fewer are left.
  bool take(std::uint64_t units) {
    if (units > left_) return false;
    left_ -= units;
    return true;
  }
  // Takes the cost of parsing or rendering `bytes` bytes.
  bool take_bytes(std::uint64_t bytes) { return bytes <= left_ / kByteCost && take(bytes * kByteCost); }

  std::uint64_t left() const { return left_; }

  // The cause given by an operation that the budget stops.
  std::string exceeded() const;

 private:
  std::uint64_t units_;
  std::uint64_t left_;
};

}  // namespace runtime::instance::upgrade::apply

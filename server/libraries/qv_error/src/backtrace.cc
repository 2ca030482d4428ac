#include "backtrace.h"

#include <execinfo.h>
#include <fmt/format.h>

#include <atomic>
#include <cstdlib>
#include <memory>

#include "utf8.h"

namespace qv_error {
namespace {

constexpr int kMaxFrames = 128;

enum class Switch { Undecided, Off, On };
std::atomic<Switch> process_switch{Switch::Undecided};

std::optional<std::string_view> environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string_view(value);
}

bool capture_enabled() {
  Switch decided = process_switch.load();
  if (decided == Switch::Undecided) {
    const bool on = capture_switch(environment(Backtrace::kLibraryVariable), environment(Backtrace::kGeneralVariable));
    decided = on ? Switch::On : Switch::Off;
    process_switch.store(decided);
  }
  return decided == Switch::On;
}

struct FreeDeleter {
  void operator()(char** symbols) const { std::free(symbols); }
};

std::string trim_end(std::string text) {
  const auto end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

}  // namespace

bool capture_switch(std::optional<std::string_view> library_value, std::optional<std::string_view> general_value) {
  if (library_value && utf8::valid(*library_value)) return *library_value != "0";
  if (general_value) return *general_value != "0";
  return false;
}

Backtrace Backtrace::capture() {
  if (!capture_enabled()) return Backtrace(Status::Disabled, {});
  return capture_now();
}

void Backtrace::reset_switch() { process_switch.store(Switch::Undecided); }

Backtrace Backtrace::capture_now() {
  void* addresses[kMaxFrames];
  const int count = ::backtrace(addresses, kMaxFrames);
  std::unique_ptr<char*, FreeDeleter> symbols(count > 0 ? ::backtrace_symbols(addresses, count) : nullptr);
  if (!symbols) return Backtrace(Status::Unsupported, {});
  std::vector<std::string> frames;
  frames.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) frames.emplace_back(symbols.get()[i]);
  return Backtrace(Status::Captured, std::move(frames));
}

std::string Backtrace::render() const {
  std::string out;
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    out += fmt::format("{:>4}: {}\n", i, trim_end(frames_[i]));
  }
  return trim_end(std::move(out));
}

}  // namespace qv_error

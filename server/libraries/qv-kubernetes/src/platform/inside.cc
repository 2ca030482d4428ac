#include "platform/inside.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <system_error>

#include <fmt/format.h>

#include "platform/utf8.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// The path with every link and every "." and ".." resolved, or nothing.
std::optional<std::string> resolved(const fs::path& path) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  if (!real) return std::nullopt;
  return std::string(real.get());
}

bool lies_in(std::string_view path, std::string_view folder) {
  if (!path.starts_with(folder)) return false;
  return path.size() == folder.size() || folder.ends_with('/') || path[folder.size()] == '/';
}

}  // namespace

qv_common::Result<void, std::string> check_inside(const fs::path& path, const fs::path& folder) {
  const std::optional<std::string> target = resolved(path);
  if (!target) return {};
  const std::optional<std::string> bound = resolved(folder);
  if (!bound) return qv_common::fail(fmt::format("'{}' cannot be resolved: {}", display(folder),
                                                 std::generic_category().message(errno)));
  if (lies_in(*target, *bound)) return {};
  return qv_common::fail(fmt::format("a link leads outside '{}' to '{}'", display(folder), lossy_utf8(*target)));
}

}  // namespace platform

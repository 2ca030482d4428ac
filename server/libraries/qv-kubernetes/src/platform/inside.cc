#include "platform/inside.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

#include <fmt/format.h>

#include "platform/utf8.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using qv_common::fail;

// Set once the kernel turns out to lack openat2.
std::atomic<bool> without_openat2{false};

// How often an open beneath the folder is tried again when the kernel could
// not rule out that a rename raced with it.
constexpr int kAttempts = 8;

OpenFailure failure(int error) {
  if (error == ELOOP || error == ENAMETOOLONG) {
    return {error, fmt::format("the path cannot be resolved: {}", std::strerror(error))};
  }
  return {error, std::strerror(error)};
}

OpenFailure refusal(std::string cause) { return {0, std::move(cause)}; }

bool lies_in(std::string_view path, std::string_view folder) {
  if (!path.starts_with(folder)) return false;
  return path.size() == folder.size() || folder.ends_with('/') || path[folder.size()] == '/';
}

std::string descriptor_link(int fd) { return fmt::format("/proc/self/fd/{}", fd); }

// The path of what `fd` has open, as the kernel names it, or why it has none.
qv_common::Result<std::string, std::string> path_of(int fd) {
  struct stat status;
  if (::fstat(fd, &status) != 0) return fail(std::string(std::strerror(errno)));
  if (status.st_nlink == 0) return fail(std::string("a link leads to a file that no longer has a path"));
  char target[PATH_MAX];
  const ssize_t size = ::readlink(descriptor_link(fd).c_str(), target, sizeof target);
  if (size < 0) return fail(failure(errno).cause);
  if (static_cast<std::size_t>(size) == sizeof target) return fail(failure(ENAMETOOLONG).cause);
  std::string path(target, static_cast<std::size_t>(size));
  if (!path.starts_with('/')) return fail(fmt::format("a link leads to '{}', which has no path", lossy_utf8(path)));
  return path;
}

// `path` relative to `folder` when it lies lexically below it, else itself.
fs::path below(const fs::path& path, const fs::path& folder) {
  fs::path relative = path.lexically_relative(folder);
  return relative.empty() ? path : relative;
}

int openat2_beneath(int folder, const char* path, int flags) {
  open_how how{};
  how.flags = static_cast<std::uint64_t>(flags);
  how.resolve = RESOLVE_BENEATH;
  return static_cast<int>(::syscall(SYS_openat2, folder, path, &how, sizeof how));
}

}  // namespace

bool OpenFailure::missing() const { return error == ENOENT || error == ENOTDIR; }

Containment::Containment(fs::path folder) : folder_(std::move(folder)) {
  bound_ = UniqueFd(::open(folder_->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!bound_) bound_error_ = errno;
}

Opened Containment::open(const fs::path& path, int flags) const {
  flags |= O_CLOEXEC;
  if (!folder_) {
    UniqueFd fd(::open(path.c_str(), flags));
    if (!fd) return fail(failure(errno));
    return fd;
  }
  if (!bound_) {
    // Nothing lies inside a folder that is not there.
    OpenFailure missing = failure(bound_error_);
    if (missing.missing()) return fail(std::move(missing));
    return fail(refusal(fmt::format("'{}' cannot be resolved: {}", display(*folder_), std::strerror(bound_error_))));
  }
  const fs::path relative = below(path, *folder_);
  if (!without_openat2.load(std::memory_order_relaxed)) {
    Opened opened = open_beneath(relative, flags);
    if (opened || opened.error().error != EXDEV) return opened;
  }
  return open_and_look(relative, flags);
}

// The kernel keeps the resolution beneath the folder. It refuses, with
// EXDEV, what climbs out of it and every absolute link, even one that leads
// back inside: those are opened again and looked at.
Opened Containment::open_beneath(const fs::path& relative, int flags) const {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const int fd = openat2_beneath(bound_.get(), relative.c_str(), flags);
    if (fd >= 0) return UniqueFd(fd);
    switch (errno) {
      case EAGAIN:
      case EINTR: continue;
      case ENOSYS:
        without_openat2.store(true, std::memory_order_relaxed);
        return fail(OpenFailure{EXDEV, {}});
      // Refused by a system call filter, or flags this kernel does not know.
      case EPERM:
      case EINVAL:
      case E2BIG: return fail(OpenFailure{EXDEV, {}});
      default: return fail(failure(errno));
    }
  }
  return fail(OpenFailure{EXDEV, {}});
}

// Opens without touching the file (O_PATH: no device is opened, no FIFO
// waited for), decides on the path the kernel gives what was opened, and
// only then opens that same file, through its descriptor, to be read.
Opened Containment::open_and_look(const fs::path& relative, int flags) const {
  UniqueFd found(::openat(bound_.get(), relative.c_str(), O_PATH | O_CLOEXEC | (flags & O_DIRECTORY)));
  if (!found) return fail(failure(errno));
  auto where = path_of(found.get());
  if (!where) return fail(refusal(std::move(where).error()));
  auto bound = path_of(bound_.get());
  if (!bound) return fail(refusal(fmt::format("'{}' cannot be resolved: {}", display(*folder_), bound.error())));
  if (!lies_in(*where, *bound)) {
    return fail(refusal(fmt::format("a link leads outside '{}' to '{}'", display(*folder_), lossy_utf8(*where))));
  }
  if ((flags & O_PATH) != 0) return found;
  UniqueFd fd(::open(descriptor_link(found.get()).c_str(), flags));
  if (!fd) return fail(failure(errno));
  return fd;
}

qv_common::Result<void, std::string> check_inside(const fs::path& path, const fs::path& folder) {
  const Opened opened = Containment(folder).open(path, O_PATH);
  if (opened || opened.error().missing()) return {};
  return fail(opened.error().cause);
}

}  // namespace platform

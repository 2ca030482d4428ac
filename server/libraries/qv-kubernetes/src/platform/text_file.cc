#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <fmt/format.h>

#include "platform/new_file_group.h"
#include "platform/unique_fd.h"
#include "platform/utf8.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using Done = qv_common::Result<void, std::string>;

std::string os_error(int error) { return std::strerror(error); }

// As many links as the system follows in one path before it gives up.
constexpr int kMaxLinks = 40;
// Room left in a file name for the temporary name's suffix.
constexpr std::size_t kMaxTempStem = 200;

// Writes `content` to the new file `fd` and closes it; a close can be the
// first to report a failed write.
Done write_and_close(UniqueFd fd, std::string_view content) {
  QV_RETURN_IF_ERROR(write_all(fd.get(), content));
  if (::close(fd.release()) != 0) return qv_common::fail(os_error(errno));
  return {};
}

// The path a chain of links at `path` ends at: `path` itself when it is no
// link, the dangling end of the chain when its target does not exist.
qv_common::Result<fs::path, std::string> final_target(fs::path path) {
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char target[PATH_MAX];
    const ssize_t size = ::readlink(path.c_str(), target, sizeof target);
    if (size < 0) return qv_common::fail(os_error(errno));
    if (static_cast<std::size_t>(size) == sizeof target) return qv_common::fail(os_error(ENAMETOOLONG));
    const fs::path next(std::string(target, static_cast<std::size_t>(size)));
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return qv_common::fail(os_error(ELOOP));
}

// A hidden name beside `path` that no other write of this process uses.
fs::path temporary_beside(const fs::path& path) {
  static const pid_t process = ::getpid();
  static std::atomic<unsigned> counter{0};
  // Text operations: splitting the path into components would cost more
  // than the name is worth.
  const std::string& text = path.native();
  const std::size_t slash = text.rfind('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::string_view stem = std::string_view(text).substr(start, kMaxTempStem);
  return fs::path(fmt::format("{}.{}.{}-{}.tmp", std::string_view(text).substr(0, start), stem, process, counter++));
}

// The process's file mode creation mask, read once, or none where the system
// does not tell it; umask() itself could only read it by changing it.
std::optional<mode_t> creation_mask() {
  static const std::optional<mode_t> mask = []() -> std::optional<mode_t> {
    // The file's size reads as 0: it is read as far as its mask line.
    UniqueFd fd(::open("/proc/self/status", O_RDONLY | O_CLOEXEC));
    char buffer[4096];
    const ssize_t size = fd ? ::read(fd.get(), buffer, sizeof buffer - 1) : -1;
    if (size <= 0) return std::nullopt;
    buffer[size] = '\0';
    const char* line = std::strstr(buffer, "\nUmask:\t");
    if (line == nullptr) return std::nullopt;
    return static_cast<mode_t>(std::strtoul(line + 8, nullptr, 8));
  }();
  return mask;
}

// Whether a file created with the permission bits of `mode` gets fewer of
// them than `mode` asks for, or `mode` holds bits a creation never sets.
bool needs_chmod(mode_t mode) {
  const std::optional<mode_t> mask = creation_mask();
  return !mask || (mode & ~static_cast<mode_t>(0777)) != 0 || (mode & *mask) != 0;
}

// Removes the file it names when dropped, unless it was kept: a write that
// fails, by an error or by an exception such as running out of memory,
// leaves no partial file behind.
class RemovedUnlessKept {
 public:
  explicit RemovedUnlessKept(const fs::path& path) : path_(path) {}
  RemovedUnlessKept(const RemovedUnlessKept&) = delete;
  RemovedUnlessKept& operator=(const RemovedUnlessKept&) = delete;
  ~RemovedUnlessKept() {
    if (!kept_) ::unlink(path_.c_str());
  }
  void keep() { kept_ = true; }

 private:
  const fs::path& path_;
  bool kept_ = false;
};

// Creates the file anew; a failed write removes it again.
Done create_new(const fs::path& path, std::string_view content) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (!fd) return qv_common::fail(os_error(errno));
  RemovedUnlessKept created(path);
  QV_RETURN_IF_ERROR(write_and_close(std::move(fd), content));
  created.keep();
  return {};
}

// What a replaced file keeps of the file it replaces.
struct Kept {
  mode_t mode;
  uid_t owner;
  gid_t group;
};

// Gives the new file `fd`, created beside `path`, the owner and group of
// the file it replaces, as far as this process may: only root gives a file
// away, and a process gives its own file a group it is a member of. A new
// file belongs to this process and to the group a file created there gets
// (the folder's in a folder with the set-group-ID bit); one that has the
// old owner and group that way costs no system call.
void keep_owner(int fd, const fs::path& path, uid_t owner, gid_t group) {
  static const uid_t user = ::geteuid();
  const uid_t new_owner = user == 0 && owner != user ? owner : static_cast<uid_t>(-1);
  const gid_t new_group = new_file_group(path) != group ? group : static_cast<gid_t>(-1);
  if (new_owner == static_cast<uid_t>(-1) && new_group == static_cast<gid_t>(-1)) return;
  // Refused (a group this process is not a member of), the new file stays
  // this process's: its content matters more than who owns it.
  (void)::fchown(fd, new_owner, new_group);
}

// Writes a temporary file beside `path` and renames it over `path`, which is
// then replaced as a whole; with `kept` the new file takes the old one's
// permission bits, owner and group, else what a new file gets.
Done replace(const fs::path& path, std::string_view content, std::optional<Kept> kept) {
  fs::path temporary;
  UniqueFd fd;
  while (!fd) {
    temporary = temporary_beside(path);
    fd = UniqueFd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kept ? kept->mode & 0777 : 0666));
    if (!fd && errno != EEXIST) return qv_common::fail(os_error(errno));
  }
  RemovedUnlessKept written(temporary);
  if (kept) {
    // A change of owner clears the set-user-ID and set-group-ID bits: the
    // mode comes after it.
    keep_owner(fd.get(), path, kept->owner, kept->group);
    if (needs_chmod(kept->mode) && ::fchmod(fd.get(), kept->mode) != 0) return qv_common::fail(os_error(errno));
  }
  QV_RETURN_IF_ERROR(write_and_close(std::move(fd), content));
  if (::rename(temporary.c_str(), path.c_str()) != 0) return qv_common::fail(os_error(errno));
  written.keep();
  return {};
}

qv_common::Result<std::string, std::string> utf8_text(std::string content) {
  if (!is_valid_utf8(content)) return qv_common::fail(std::string("stream did not contain valid UTF-8"));
  return content;
}

}  // namespace

Done write_all(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t put = ::write(fd, content.data(), content.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return qv_common::fail(os_error(errno));
    }
    content.remove_prefix(static_cast<std::size_t>(put));
  }
  return {};
}

qv_common::Result<std::string, std::string> read_bytes(const fs::path& path, FoundFile* found) {
  // A first open that does not follow a link at the path tells whether
  // there is one.
  bool link = false;
  UniqueFd fd(::open(path.c_str(), kReadFlags | O_CLOEXEC | O_NOFOLLOW));
  if (!fd && errno == ELOOP) {
    link = true;
    fd = UniqueFd(::open(path.c_str(), kReadFlags | O_CLOEXEC));
  }
  if (!fd) return qv_common::fail(os_error(errno));
  QV_ASSIGN_OR_RETURN(std::string content, read_bytes(fd, found));
  if (found != nullptr) found->link = link;
  return content;
}

qv_common::Result<std::string, std::string> read_bytes(const UniqueFd& file, FoundFile* found) {
  struct stat status;
  if (::fstat(file.get(), &status) != 0) return qv_common::fail(os_error(errno));
  if (S_ISDIR(status.st_mode)) return qv_common::fail(os_error(EISDIR));
  if (!S_ISREG(status.st_mode)) return qv_common::fail(std::string("not a regular file"));
  if (found != nullptr) *found = {status.st_mode & 07777, status.st_uid, status.st_gid, false};
  std::string content(static_cast<std::size_t>(status.st_size), '\0');
  std::size_t got = 0;
  while (got < content.size()) {
    const ssize_t count = ::read(file.get(), content.data() + got, content.size() - got);
    if (count < 0) {
      if (errno == EINTR) continue;
      return qv_common::fail(os_error(errno));
    }
    if (count == 0) break;  // the file shrank since it was opened
    got += static_cast<std::size_t>(count);
  }
  content.resize(got);
  return content;
}

qv_common::Result<std::string, std::string> read_text(const fs::path& path, FoundFile* found) {
  QV_ASSIGN_OR_RETURN(std::string content, read_bytes(path, found));
  return utf8_text(std::move(content));
}

qv_common::Result<std::string, std::string> read_text(const UniqueFd& file) {
  QV_ASSIGN_OR_RETURN(std::string content, read_bytes(file));
  return utf8_text(std::move(content));
}

qv_common::Result<std::string, std::string> read_text(const fs::path& path, const Containment& reads) {
  Opened file = reads.open(path, kReadFlags);
  if (!file) return qv_common::fail(std::move(file).error().cause);
  return read_text(*file);
}

Done write_file(const fs::path& path, std::string_view content, AtLink at_link, const FoundFile* found) {
  if (found != nullptr && !found->link) return replace(path, content, Kept{found->mode, found->owner, found->group});
  struct stat status;
  if (::lstat(path.c_str(), &status) != 0) {
    if (errno != ENOENT) return qv_common::fail(os_error(errno));
    return create_new(path, content);
  }
  if (S_ISLNK(status.st_mode)) {
    if (at_link == AtLink::kReplace) return replace(path, content, std::nullopt);
    QV_ASSIGN_OR_RETURN(const fs::path target, final_target(path));
    return write_file(target, content, AtLink::kReplace);
  }
  if (S_ISDIR(status.st_mode)) return qv_common::fail(os_error(EISDIR));
  return replace(path, content, Kept{status.st_mode & 07777, status.st_uid, status.st_gid});
}

}  // namespace platform

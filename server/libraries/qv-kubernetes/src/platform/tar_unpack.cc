#include "platform/tar_unpack.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/text_file.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;

std::string archive_reason(archive* reader) {
  const char* text = archive_error_string(reader);
  return text != nullptr ? std::string(text) : std::string("unreadable tar archive");
}

std::string member_error(std::string_view member, std::string_view cause) {
  return fmt::format("could not unpack archive member '{}': {}", member, cause);
}

// Path components, without the empty one that a trailing slash leaves.
std::vector<fs::path> components_of(const fs::path& path) {
  std::vector<fs::path> parts;
  for (const auto& part : path) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

// The member's path below the prefix, or nothing when it does not lie
// strictly below it.
std::optional<std::vector<fs::path>> below_prefix(const fs::path& member, const std::vector<fs::path>& prefix) {
  auto parts = components_of(member);
  if (parts.size() <= prefix.size()) return std::nullopt;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (parts[i] != prefix[i]) return std::nullopt;
  }
  parts.erase(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(prefix.size()));
  return parts;
}

// Replaces `target` with a new file; removing first also replaces a file
// without write permission.
qv_common::Result<UniqueFd, std::string> create_file(const fs::path& target) {
  if (::unlink(target.c_str()) != 0 && errno != ENOENT) {
    return qv_common::fail(std::generic_category().message(errno));
  }
  UniqueFd fd(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd) return qv_common::fail(std::generic_category().message(errno));
  return fd;
}

qv_common::Result<void, std::string> copy_data(archive* reader, int fd) {
  std::array<char, 65536> buffer;
  while (true) {
    const la_ssize_t count = archive_read_data(reader, buffer.data(), buffer.size());
    if (count < 0) return qv_common::fail(archive_reason(reader));
    if (count == 0) return {};
    QV_RETURN_IF_ERROR(write_all(fd, std::string_view(buffer.data(), static_cast<size_t>(count))));
  }
}

qv_common::Result<void, std::string> set_attributes(archive_entry* entry, int fd) {
  if (::fchmod(fd, static_cast<mode_t>(archive_entry_perm(entry) & 0777)) != 0) {
    return qv_common::fail(std::generic_category().message(errno));
  }
  const std::array<timespec, 2> times = {
      timespec{0, UTIME_OMIT},
      timespec{archive_entry_mtime(entry), archive_entry_mtime_nsec(entry)},
  };
  if (::futimens(fd, times.data()) != 0) return qv_common::fail(std::generic_category().message(errno));
  return {};
}

qv_common::Result<void, std::string> unpack_member(archive* reader, archive_entry* entry, const fs::path& target) {
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) return qv_common::fail(error.message());
  QV_ASSIGN_OR_RETURN(UniqueFd fd, create_file(target));
  QV_RETURN_IF_ERROR(copy_data(reader, fd.get()));
  return set_attributes(entry, fd.get());
}

bool is_regular_file(archive_entry* entry) {
  return archive_entry_filetype(entry) == AE_IFREG && archive_entry_hardlink(entry) == nullptr;
}

// Handles one member: skipped, refused or unpacked.
qv_common::Result<void, std::string> handle_member(archive* reader, archive_entry* entry,
                                                   const std::vector<fs::path>& prefix, const fs::path& destination) {
  if (!is_regular_file(entry)) return {};
  const char* name = archive_entry_pathname(entry);
  if (name == nullptr) return qv_common::fail(member_error("", archive_reason(reader)));
  const auto rest = below_prefix(fs::path(name), prefix);
  if (!rest) return {};
  fs::path target = destination;
  for (const auto& part : *rest) {
    if (part == "..")
      return qv_common::fail(fmt::format("refusing archive member '{}' that leaves the target folder", name));
    target /= part;
  }
  auto unpacked = unpack_member(reader, entry, target);
  if (!unpacked) return qv_common::fail(member_error(name, unpacked.error()));
  return {};
}

}  // namespace

qv_common::Result<void, std::string> unpack_tar_prefix(std::string_view archive_bytes,
                                                       const fs::path& prefix_in_archive, const fs::path& destination) {
  Reader reader(archive_read_new(), &archive_read_free);
  if (!reader) return qv_common::fail(std::generic_category().message(ENOMEM));
  archive_read_support_format_tar(reader.get());
  if (archive_read_open_memory(reader.get(), archive_bytes.data(), archive_bytes.size()) != ARCHIVE_OK) {
    return qv_common::fail(archive_reason(reader.get()));
  }
  const auto prefix = components_of(prefix_in_archive);
  while (true) {
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) return {};
    if (status < ARCHIVE_WARN) return qv_common::fail(archive_reason(reader.get()));
    QV_RETURN_IF_ERROR(handle_member(reader.get(), entry, prefix, destination));
  }
}

}  // namespace platform

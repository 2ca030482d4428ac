#include "platform/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/unique_fd.h"
#include "platform/utf8.h"

namespace platform {
namespace {

std::string os_error(int error) { return std::strerror(error); }

}  // namespace

qv_common::Result<std::string, std::string> read_bytes(const std::filesystem::path& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return qv_common::fail(os_error(errno));
  // A folder opens, and its read fails with "Is a directory".
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return qv_common::fail(os_error(errno));
    }
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  return content;
}

qv_common::Result<std::string, std::string> read_text(const std::filesystem::path& path) {
  QV_ASSIGN_OR_RETURN(std::string content, read_bytes(path));
  if (!is_valid_utf8(content)) return qv_common::fail(std::string("stream did not contain valid UTF-8"));
  return content;
}

qv_common::Result<void, std::string> write_file(const std::filesystem::path& path, std::string_view content) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.get() < 0) return qv_common::fail(os_error(errno));
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t put = ::write(fd.get(), content.data() + written, content.size() - written);
    if (put < 0) {
      if (errno == EINTR) continue;
      return qv_common::fail(os_error(errno));
    }
    written += static_cast<std::size_t>(put);
  }
  return {};
}

}  // namespace platform

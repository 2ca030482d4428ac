#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string os_error(int error) { return std::strerror(error); }

// Length of the UTF-8 sequence that starts with `lead`, or 0 for a byte that
// cannot start one.
int sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    if (s[i] < 0x80) {
      ++i;
      continue;
    }
    const int length = sequence_length(s[i]);
    if (length == 0 || i + length > n) return false;
    for (int k = 1; k < length; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
    }
    // Overlong forms, surrogates and code points above U+10FFFF.
    if (s[i] == 0xE0 && s[i + 1] < 0xA0) return false;
    if (s[i] == 0xED && s[i + 1] > 0x9F) return false;
    if (s[i] == 0xF0 && s[i + 1] < 0x90) return false;
    if (s[i] == 0xF4 && s[i + 1] > 0x8F) return false;
    i += length;
  }
  return true;
}

qv_common::Result<std::string, std::string> read_bytes(const std::filesystem::path& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return qv_common::fail(os_error(errno));
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return qv_common::fail(os_error(errno));
  if (S_ISDIR(info.st_mode)) return qv_common::fail(os_error(EISDIR));
  std::string content;
  content.reserve(static_cast<std::size_t>(info.st_size));
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
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
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

#pragma once

#include <fcntl.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/inside.h"
#include "platform/unique_fd.h"
#include "result.h"

// Whole-file reads and writes whose failures are the cause's message text.
namespace platform {

// What a read found at its path: the file's permission bits, owner and
// group, and whether the path itself is a link.
struct FoundFile {
  unsigned mode = 0;
  uid_t owner = 0;
  gid_t group = 0;
  bool link = false;
};

// The flags of an open for reading that neither waits for a FIFO's writer
// nor takes a terminal.
inline constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY;

// The bytes of the regular file at `path`, links followed. Anything else (a
// folder, a FIFO, a socket, a device) is refused at once without blocking,
// and the read stops at the size the file had when it was opened, so no read
// runs without end. With `found`, what the read found is put there.
qv_common::Result<std::string, std::string> read_bytes(const std::filesystem::path& path, FoundFile* found = nullptr);
// The file's bytes, which must be UTF-8 text.
qv_common::Result<std::string, std::string> read_text(const std::filesystem::path& path, FoundFile* found = nullptr);

// The same reads of a file already open (with kReadFlags).
qv_common::Result<std::string, std::string> read_bytes(const UniqueFd& file, FoundFile* found = nullptr);
qv_common::Result<std::string, std::string> read_text(const UniqueFd& file);

// The text of the file at `path` that `reads` opens.
qv_common::Result<std::string, std::string> read_text(const std::filesystem::path& path, const Containment& reads);

// Writes all of `content` to the open file `fd`.
qv_common::Result<void, std::string> write_all(int fd, std::string_view content);

// What a write does with a link at the file's path.
enum class AtLink {
  kFollow,   // writes the file the link leads to, creating it when the link dangles
  kReplace,  // replaces the link itself by a regular file
};

// Makes `content` the whole content of the file at `path`, whole or not at
// all. An existing file is replaced by a temporary file written beside it and
// renamed over it, with the old file's permission bits, and its owner and
// group as far as this process may set them (both for root, else the group
// when the process is a member of it); a new file is created in place. A
// write that fails leaves the old file as it was (or no new file) and no
// temporary file behind. With `found`, what a read of the same path found
// moments before, the write takes that for the path's state instead of
// looking at it again.
qv_common::Result<void, std::string> write_file(const std::filesystem::path& path, std::string_view content,
                                                AtLink at_link = AtLink::kFollow, const FoundFile* found = nullptr);

}  // namespace platform

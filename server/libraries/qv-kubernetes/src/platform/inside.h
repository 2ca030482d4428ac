#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/unique_fd.h"
#include "result.h"

// Opening what lies inside a folder of untrusted content: a link under it
// cannot lead a read out of it, and whether it does is decided on what the
// open reaches, so the file checked is the file read.
namespace platform {

// Why an open failed: the system's error number (0 when the open reached
// something outside the folder, or something without a path), and the
// cause's text.
struct OpenFailure {
  int error = 0;
  std::string cause;

  // Nothing is at the path: it, or a folder on the way, does not exist.
  bool missing() const;
};

using Opened = qv_common::Result<UniqueFd, OpenFailure>;

// Opens paths, links followed: anything, or only what lies inside one
// folder (whose own links are followed too). An open that leads out of the
// folder, or whose resolution cannot be told (too long, a loop, a link to a
// file that has no path), is refused; a path where nothing is fails as
// missing, since nothing is read there.
class Containment {
 public:
  // Opens anything: the caller's own files.
  Containment() = default;
  // Opens only what lies inside `folder`.
  explicit Containment(std::filesystem::path folder);

  // Opens `path`, which should name something below the folder, with the
  // open flags `flags` (O_CLOEXEC is added).
  Opened open(const std::filesystem::path& path, int flags) const;

 private:
  Opened open_beneath(const std::filesystem::path& relative, int flags) const;
  Opened open_and_look(const std::filesystem::path& relative, int flags) const;

  std::optional<std::filesystem::path> folder_;
  UniqueFd bound_;
  int bound_error_ = 0;
};

// Checks that the file or folder at `path`, its links followed, lies inside
// `folder` (whose own links are followed too). Nothing at the path passes:
// its reader finds it missing. The error says where the path leads, or why
// it cannot be resolved.
qv_common::Result<void, std::string> check_inside(const std::filesystem::path& path,
                                                  const std::filesystem::path& folder);

}  // namespace platform

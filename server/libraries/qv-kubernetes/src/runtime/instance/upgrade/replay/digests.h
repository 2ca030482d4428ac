#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "core/system/exit.h"
#include "platform/inside.h"
#include "result.h"

namespace runtime::instance::upgrade::replay {

// The recorded template digests: version to provider name to SHA-256 in
// lower-case hexadecimal, both levels in byte order of their keys.
struct Digests {
  std::map<std::string, std::map<std::string, std::string>> versions;
};

// The comment header written in front of the document.
inline constexpr std::string_view kDigestsHeader = "#\n# SHA-256 digests of templates\n#\n\n";

// Reads the digests document, opened through `reads`; a missing file is an
// empty document.
qv_common::Result<Digests, core::system::exit::CommandError> read_digests(const std::filesystem::path& path,
                                                                          const platform::Containment& reads = {});

// Writes the header and the document as the whole file, replaced whole or
// not at all; a link at the path is replaced, not followed. The folder must
// exist.
qv_common::Result<void, core::system::exit::CommandError> write_digests(const std::filesystem::path& path,
                                                                        const Digests& digests);

}  // namespace runtime::instance::upgrade::replay

#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "result.h"
#include "runtime/instance/upgrade/offline/offline.h"
#include "runtime/instance/upgrade/replay/mismatch.h"

namespace qv_server::output {

// The compact JSON texts of the reports. Each fails with the serialiser's
// message when a text is not valid UTF-8.
qv_common::Result<std::string, std::string> upgrade_report(
    const ::runtime::instance::upgrade::offline::UpgradeReport& report);
qv_common::Result<std::string, std::string> replay_report(
    std::span<const ::runtime::instance::upgrade::replay::Mismatch> mismatches);
qv_common::Result<std::string, std::string> digests_report(
    std::uint64_t recorded, std::span<const ::runtime::instance::upgrade::replay::Mismatch> mismatches);
// Fails with "path contains invalid UTF-8 characters" for a folder whose path
// is not valid UTF-8.
qv_common::Result<std::string, std::string> templates_report(const std::filesystem::path& folder);

// {"error":<message>}, or a fixed line when the message cannot be serialised.
std::string error_line(std::string_view message);

// Writes all of `text` to `descriptor`, retrying partial and interrupted
// writes; false when the descriptor refuses it.
bool write_all(int descriptor, std::string_view text);

// The success report followed by a newline on standard output, in one write.
bool print_report(std::string_view report);

// The error line of `message` followed by a newline on standard error.
void print_error(std::string_view message);

// The error line of a run that ran out of memory, on standard error. It is a
// fixed text, written without allocating.
void print_out_of_memory();

// The error line of a run that an exception ended, naming `description`;
// the fixed line for a failure that cannot be serialised when even that
// line cannot be built.
void print_unexpected(std::string_view description);

}  // namespace qv_server::output

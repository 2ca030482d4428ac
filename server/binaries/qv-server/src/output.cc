#include "output.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "platform/utf8.h"

namespace qv_server::output {
namespace {

using Json = nlohmann::ordered_json;
using runtime::instance::upgrade::offline::Outcome;
using runtime::instance::upgrade::offline::UpgradeReport;
using runtime::instance::upgrade::replay::Mismatch;

constexpr std::string_view kUnserializable = R"({"error":"The failure could not be serialized"})";
constexpr std::string_view kOutOfMemoryLine = "{\"error\":\"The command ran out of memory.\"}\n";

qv_common::Result<std::string, std::string> compact(const Json& value) {
  try {
    return value.dump();
  } catch (const Json::exception& error) {
    return qv_common::fail(std::string(error.what()));
  }
}

Json mismatches_json(std::span<const Mismatch> mismatches) {
  Json list = Json::array();
  for (const Mismatch& mismatch : mismatches) {
    list.push_back({{"provider", runtime::provider::as_str(mismatch.provider)},
                    {"version", mismatch.version},
                    {"file", mismatch.file},
                    {"reason", mismatch.reason}});
  }
  return list;
}

// Whether the serialiser writes a text as it stands between its quotes:
// printable ASCII but for the quote and the backslash.
bool written_as_is(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~' && c != '"' && c != '\\'; });
}

bool written_as_is(const Outcome& step) {
  return written_as_is(step.family) && written_as_is(step.file) && written_as_is(step.variant) &&
         written_as_is(step.action);
}

// The report put together as text when every text in it is written as it
// stands, exactly as the serialiser writes it: a report of thousands of
// steps then needs no document. None for any other report.
std::optional<std::string> direct_upgrade_report(const UpgradeReport& report) {
  if (!written_as_is(report.version) ||
      !std::all_of(report.steps.begin(), report.steps.end(), [](const Outcome& step) { return written_as_is(step); })) {
    return std::nullopt;
  }
  // Room for every step's texts and the names and marks around them.
  std::size_t size = report.version.size() + 32;
  for (const Outcome& step : report.steps) {
    size += step.family.size() + step.file.size() + step.variant.size() + step.action.size() + 80;
  }
  std::string out;
  out.reserve(size);
  out.append(R"({"version":")").append(report.version).append(R"(","steps":[)");
  for (const Outcome& step : report.steps) {
    if (&step != &report.steps.front()) out += ',';
    out.append(R"({"family":")").append(step.family);
    out.append(R"(","file":")").append(step.file);
    out.append(R"(","variant":")").append(step.variant);
    out.append(R"(","action":")").append(step.action);
    out.append(R"(","changed":)").append(step.changed ? "true" : "false").append("}");
  }
  out.append("]}");
  return out;
}

// One step's object, built field by field: an initializer list would build
// each field as a pair array first and copy it, which shows in a report of
// thousands of steps.
Json step_json(const Outcome& step) {
  Json::object_t fields;
  fields.reserve(5);
  fields.emplace("family", step.family);
  fields.emplace("file", step.file);
  fields.emplace("variant", step.variant);
  fields.emplace("action", step.action);
  fields.emplace("changed", step.changed);
  return Json(std::move(fields));
}

}  // namespace

qv_common::Result<std::string, std::string> upgrade_report(const UpgradeReport& report) {
  if (auto text = direct_upgrade_report(report)) return std::move(*text);
  Json::array_t steps;
  steps.reserve(report.steps.size());
  for (const Outcome& step : report.steps) steps.push_back(step_json(step));
  return compact({{"version", report.version}, {"steps", std::move(steps)}});
}

qv_common::Result<std::string, std::string> replay_report(std::span<const Mismatch> mismatches) {
  return compact({{"mismatches", mismatches_json(mismatches)}});
}

qv_common::Result<std::string, std::string> digests_report(std::uint64_t recorded,
                                                           std::span<const Mismatch> mismatches) {
  return compact({{"recorded", recorded}, {"mismatches", mismatches_json(mismatches)}});
}

qv_common::Result<std::string, std::string> templates_report(const std::filesystem::path& folder) {
  if (!platform::is_valid_utf8(folder.native())) {
    return qv_common::fail(std::string("path contains invalid UTF-8 characters"));
  }
  return compact({{"folder", folder.native()}});
}

std::string error_line(std::string_view message) {
  auto line = compact({{"error", message}});
  return line ? *std::move(line) : std::string(kUnserializable);
}

bool write_all(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool print_report(std::string_view report) {
  std::string line(report);
  line += '\n';
  return write_all(STDOUT_FILENO, line);
}

void print_error(std::string_view message) {
  std::string line = error_line(message);
  line += '\n';
  // Nothing is left to report to when standard error refuses the line.
  write_all(STDERR_FILENO, line);
}

void print_out_of_memory() { write_all(STDERR_FILENO, kOutOfMemoryLine); }

void print_unexpected(std::string_view description) {
  try {
    print_error(fmt::format("The command failed unexpectedly: {}.", description));
  } catch (const std::exception&) {
    write_all(STDERR_FILENO, std::string_view(kUnserializable.data(), kUnserializable.size()));
    write_all(STDERR_FILENO, "\n");
  }
}

}  // namespace qv_server::output

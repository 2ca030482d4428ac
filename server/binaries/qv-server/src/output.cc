#include "output.h"

#include <nlohmann/json.hpp>
#include <unistd.h>

#include <cerrno>

#include "platform/utf8.h"

namespace qv_server::output {
namespace {

using Json = nlohmann::ordered_json;
using runtime::instance::upgrade::offline::Outcome;
using runtime::instance::upgrade::offline::UpgradeReport;
using runtime::instance::upgrade::replay::Mismatch;

constexpr std::string_view kUnserializable = R"({"error":"The failure could not be serialized"})";

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

}  // namespace qv_server::output

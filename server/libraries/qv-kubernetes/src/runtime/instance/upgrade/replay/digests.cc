#include "runtime/instance/upgrade/replay/digests.h"

#include <array>

#include "base/error/upgrade.h"
#include "platform/text_file.h"
#include "platform/utf8.h"
#include "qv_yaml/emit.h"
#include "qv_yaml/parse.h"
#include "qv_yaml/read.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
namespace read = qv_yaml::read;
using base::error::UpgradeError;
using core::system::exit::CommandError;
using qv_common::fail;
using qv_yaml::Value;

static_assert(kDigestsHeader.size() == 36);

// A mapping whose keys and values are read as the text of their scalars; a
// repeated key keeps its last value.
template <typename T, typename ReadValue>
read::ReadResult<std::map<std::string, T>> read_text_map(const Value& node, ReadValue read_value) {
  if (!node.is_mapping()) return fail(read::invalid_type(node, "a map"));
  std::map<std::string, T> map;
  for (const auto& [key, value] : node.as_mapping()) {
    QV_ASSIGN_OR_RETURN(std::string name, read::scalar_text(key));
    QV_ASSIGN_OR_RETURN(T item, read_value(value));
    map.insert_or_assign(std::move(name), std::move(item));
  }
  return map;
}

read::ReadResult<Digests> read_document(const Value& node) {
  if (!node.is_mapping()) return fail(read::invalid_type(node, "struct Digests"));
  static constexpr std::array<std::string_view, 1> kFields = {"versions"};
  Digests digests;
  QV_ASSIGN_OR_RETURN(const std::vector<bool> given,
                      read::read_record(node.as_mapping(), {kFields, read::UnknownKeys::kIgnore},
                                        [&](std::size_t, const Value& value) {
                                          return read::assign(
                                              digests.versions,
                                              read_text_map<std::map<std::string, std::string>>(
                                                  value, [](const Value& providers) {
                                                    return read_text_map<std::string>(providers, read::scalar_text);
                                                  }));
                                        }));
  if (!given[0]) return fail(read::missing_field("versions", node.mark()));
  return digests;
}

Value to_value(const Digests& digests) {
  qv_yaml::Mapping versions;
  for (const auto& [version, providers] : digests.versions) {
    qv_yaml::Mapping entries;
    for (const auto& [provider, digest] : providers) entries.push_back(Value(provider), Value(digest));
    versions.push_back(Value(version), Value(std::move(entries)));
  }
  qv_yaml::Mapping document;
  document.push_back(Value("versions"), Value(std::move(versions)));
  return Value(std::move(document));
}

}  // namespace

qv_common::Result<Digests, CommandError> read_digests(const fs::path& path, const platform::Containment& reads) {
  platform::Opened file = reads.open(path, platform::kReadFlags);
  if (!file && file.error().missing()) return Digests{};
  if (!file) return fail(UpgradeError::DigestsReadFailed(platform::display(path), file.error().cause));
  auto text = platform::read_text(*file);
  if (!text) return fail(UpgradeError::DigestsReadFailed(platform::display(path), text.error()));
  auto document = qv_yaml::parse_single(*text, {.reject_duplicate_keys = false});
  if (!document) return fail(UpgradeError::DigestsReadFailed(platform::display(path), document.error()));
  auto digests = read_document(*document);
  if (!digests) return fail(UpgradeError::DigestsReadFailed(platform::display(path), digests.error().text()));
  return std::move(*digests);
}

qv_common::Result<void, CommandError> write_digests(const fs::path& path, const Digests& digests) {
  auto yaml = qv_yaml::emit(to_value(digests));
  if (!yaml) return fail(UpgradeError::DigestsWriteFailed(platform::display(path), yaml.error()));
  std::string text(kDigestsHeader);
  text += *yaml;
  if (auto written = platform::write_file(path, text, platform::AtLink::kReplace); !written) {
    return fail(UpgradeError::DigestsWriteFailed(platform::display(path), written.error()));
  }
  return {};
}

}  // namespace runtime::instance::upgrade::replay

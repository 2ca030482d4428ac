#include "runtime/instance/upgrade/replay/files.h"

#include <algorithm>
#include <system_error>

#include "platform/sha256.h"
#include "platform/text_file.h"
#include "platform/utf8.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 1> provided_files = {"quorvale-requirements.txt"};

// The characters of Unicode's White_Space property, UTF-8 encoded.
constexpr std::array<std::string_view, 25> white_space = {
    "\t",           "\n",           "\v",           "\f",           "\r",           " ",
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
    "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88",
    "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F",
    "\xE3\x80\x80",
};

// Byte length of the white-space character that `text` ends with, or 0.
size_t trailing_space(std::string_view text) {
  for (auto space : white_space) {
    if (text.ends_with(space)) return space.size();
  }
  return 0;
}

size_t leading_space(std::string_view text) {
  for (auto space : white_space) {
    if (text.starts_with(space)) return space.size();
  }
  return 0;
}

std::string_view trim_end(std::string_view text) {
  while (size_t size = trailing_space(text)) text.remove_suffix(size);
  return text;
}

bool is_comment(std::string_view line) {
  while (size_t size = leading_space(line)) line.remove_prefix(size);
  return line.starts_with('#');
}

}  // namespace

std::set<std::string> files_of(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    std::error_code kind_error;
    if (!entry->is_regular_file(kind_error)) continue;
    auto name = platform::lossy_utf8(entry->path().filename().native());
    if (!is_binary_provided(name)) names.insert(std::move(name));
  }
  return names;
}

bool is_binary_provided(std::string_view name) {
  return name.ends_with(".yamls") ||
         std::find(provided_files.begin(), provided_files.end(), name) != provided_files.end();
}

std::string read(const fs::path& path) {
  auto text = platform::read_text(path);
  return text ? std::move(*text) : std::string();
}

std::vector<std::string_view> uncommented(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    line = trim_end(line);  // also takes the carriage return of a CR LF
    if (!line.empty() && !is_comment(line)) lines.push_back(line);
  }
  return lines;
}

std::string digest_of(const fs::path& template_folder) {
  platform::Sha256 sha;
  for (auto section : template_sections) {
    const fs::path folder = template_folder / section;
    for (const auto& name : files_of(folder)) {
      sha.update(section);
      sha.update("/");
      sha.update(name);
      if (auto bytes = platform::read_bytes(folder / name)) sha.update(*bytes);
      sha.update(std::string_view("\0", 1));
    }
  }
  return sha.hex_digest();
}

}  // namespace runtime::instance::upgrade::replay

#pragma once

#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace runtime::instance::upgrade::replay {

// The section folders of a template, in the order comparisons and digests walk them.
inline constexpr std::array<std::string_view, 3> template_sections = {"configs", "pods", "assets"};

// Names of the regular files (links followed) directly in `folder`, in
// ascending byte order, without the files the system provides itself. Names
// that are not UTF-8 are converted with U+FFFD. A folder that cannot be
// listed gives the empty set.
std::set<std::string> files_of(const std::filesystem::path& folder);

// Whether the system provides the file itself: names ending in ".yamls" and
// "quorvale-requirements.txt".
bool is_binary_provided(std::string_view name);

// The whole file as UTF-8 text; the empty text when it cannot be read or is
// not UTF-8.
std::string read(const std::filesystem::path& path);

// The lines of `text` that carry content: split at line feeds (a carriage
// return before one goes with it), trailing white space removed, empty lines
// and whole-line "#" comments dropped. Each line is a slice of `text`.
std::vector<std::string_view> uncommented(std::string_view text);

// SHA-256 fingerprint of a template folder, 64 lower-case hexadecimal
// characters: for each section and each of its files_of, the text
// section + "/" + name, the file's bytes (none when unreadable) and one zero
// byte.
std::string digest_of(const std::filesystem::path& template_folder);

}  // namespace runtime::instance::upgrade::replay

#pragma once

#include <filesystem>
#include <string_view>

#include "core/system/exit.h"
#include "platform/inside.h"
#include "result.h"
#include "runtime/instance/upgrade/spec/spec.h"

// Where a version's upgrade spec and content files lie in the upgrade tree,
// and the loading of a spec with every check that needs no kprofile.
namespace runtime::instance::upgrade::catalog {

// <kupgrade>/upgrades/<version>.yaml
std::filesystem::path spec_path(const std::filesystem::path& kupgrade, std::string_view version);
// <kupgrade>/upgrades/<version>
std::filesystem::path content_folder(const std::filesystem::path& kupgrade, std::string_view version);
// <kupgrade>/upgrades/<version>/<family>/<variant>
std::filesystem::path content_path(const std::filesystem::path& kupgrade, std::string_view version,
                                   std::string_view family, std::string_view variant);

// Reads the version's spec and checks it whole: the schema, changes under
// actions other than modify, resolved actions, variants against their
// groups, and content files against the entries that claim them. The spec
// and the content folder's family folders are opened through `reads`.
qv_common::Result<spec::Spec, core::system::exit::CommandError> load_spec(const std::filesystem::path& kupgrade,
                                                                          std::string_view version,
                                                                          const platform::Containment& reads = {});

}  // namespace runtime::instance::upgrade::catalog

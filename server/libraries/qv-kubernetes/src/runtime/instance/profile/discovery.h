#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/error/profile.h"
#include "result.h"
#include "runtime/instance/profile/bundle.h"
#include "runtime/instance/profile/family_folders.h"

// Listing the files of one kprofile family folder.
namespace runtime::instance::profile {

// One regular file found in a family folder.
struct DiscoveryFile {
  std::string name;  // as found
  bundle::ParsedFileName parsed;  // of the file's key (see key_of)
  std::string content;  // UTF-8
};

// The parsed key of a file name: app.schema.yaml and app.schema_aks.yaml are
// both keyed with base app and suffix ".yamls".
bundle::ParsedFileName key_of(std::string_view name);

// Every regular file directly in the open `folder`, in listing order, read
// whole. Hidden names, "__pycache__", *.pyc, *.pyo, names that are not UTF-8
// and entries that are neither files nor folders (links included) are passed
// over; any other folder is an error.
qv_common::Result<std::vector<DiscoveryFile>, base::error::ProfileError> discover_family(const FamilyFolder& folder,
                                                                                        std::string_view family);

}  // namespace runtime::instance::profile

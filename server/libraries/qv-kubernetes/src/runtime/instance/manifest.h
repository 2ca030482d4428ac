#pragma once

#include <chrono>
#include <string>
#include <vector>

// The record a loaded kprofile keeps for each of its files.
namespace runtime::instance::manifest {

// A UTC instant to the nanosecond.
using Timestamp = std::chrono::sys_time<std::chrono::nanoseconds>;

// One version the file was stamped with.
struct Stamp {
  std::string version;
  Timestamp stamped_at;
  bool applied = true;
};

struct ManifestEntry {
  std::string version;
  // The family folder, "/" and the file name as found: configs/app_eks.yaml.
  std::string source;
  std::vector<Stamp> stamps;
  Timestamp loaded_at;
  // Whether the file was changed after loading.
  bool modified = false;
};

}  // namespace runtime::instance::manifest

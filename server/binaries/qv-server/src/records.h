#pragma once

#include <string>

namespace qv_server::records {

// One applied upgrade step, as printed in the upgrade report.
struct Outcome {
  std::string family;
  std::string file;
  std::string variant;
  std::string action;
  bool changed = false;
};

// One replay or digest difference; `provider` is the provider's lower-case
// name and `file` is empty for provider-level and digest reasons.
struct Mismatch {
  std::string provider;
  std::string version;
  std::string file;
  std::string reason;
};

}  // namespace qv_server::records

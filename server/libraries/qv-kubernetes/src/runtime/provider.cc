#include "runtime/provider.h"

#include <array>

namespace runtime::provider {

std::string_view as_str(ClusterProvider provider) {
  static constexpr std::array<std::string_view, 6> kNames = {"kminus", "docker", "eks", "aks", "gke", "fargate"};
  return kNames[static_cast<std::size_t>(provider)];
}

}  // namespace runtime::provider

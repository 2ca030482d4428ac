#include "base/error/kubernetes/cluster.h"

namespace base::error::kubernetes {
namespace {

using catalog::Descriptor;
using catalog::record;
using catalog::tuple;

constexpr Descriptor kClientBuildFailed =
    tuple(5000, "BuildFailed", 1, "Could not build the Kubernetes client: {}.", {0});

constexpr Descriptor kClientContextSerializeFailed =
    tuple(5001, "ContextSerializeFailed", 1, "Could not serialize the active context: {}.", {0});

constexpr Descriptor kClientInclusterConfigFailed =
    tuple(5002, "InclusterConfigFailed", 1, "Could not load in-cluster Kubernetes config: {}.", {0});

constexpr Descriptor kClusterUnreachable =
    tuple(5000, "Unreachable", 1, "Kubernetes cluster is not reachable: {}.", {0});

constexpr Descriptor kKubeconfigLoadFailed =
    tuple(5000, "LoadFailed", 1, "Could not load Kubernetes configuration: {}.", {0});

constexpr Descriptor kKubeconfigReadFailed =
    tuple(5001, "ReadFailed", 2, "Could not read kubeconfig at '{}': {}.", {0, 1});

constexpr Descriptor kKubeconfigParseFailed =
    tuple(5002, "ParseFailed", 1, "Could not parse kubeconfig: {}.", {0});

constexpr Descriptor kKubeconfigWriteFailed =
    tuple(5003, "WriteFailed", 2, "Could not write kubeconfig at '{}': {}.", {0, 1});

constexpr Descriptor kKubeconfigDeleteFailed =
    tuple(5004, "DeleteFailed", 2, "Could not delete kubeconfig at '{}': {}.", {0, 1});

constexpr Descriptor kPodContextEnvironmentVariableMissing =
    tuple(100, "EnvironmentVariableMissing", 1, "Required environment variable '{}' is not set.", {0});

constexpr Descriptor kPodContextNamespaceFileMissing =
    tuple(1000, "NamespaceFileMissing", 1, "Namespace file '{}' not found.", {0});

constexpr Descriptor kPodContextNamespaceFileReadFailed =
    record(5000, "NamespaceFileReadFailed", {"path", "cause"}, "Could not read namespace file '{}': {}.", {0, 1});

constexpr Descriptor kNamespaceNotFound =
    tuple(1000, "NotFound", 1, "Namespace '{}' does not exist in the cluster.", {0});

constexpr Descriptor kNamespaceQueryFailed =
    tuple(5000, "QueryFailed", 2, "Could not verify namespace '{}': {}.", {0, 1});

constexpr Descriptor kStampResolveFailed =
    record(5000, "ResolveFailed", {"cause"}, "Could not resolve the version to stamp on the resource: {}.", {0});

}  // namespace

KubeClientError KubeClientError::BuildFailed(std::string cause) {
  return make(kClientBuildFailed, std::move(cause));
}

KubeClientError KubeClientError::ContextSerializeFailed(std::string cause) {
  return make(kClientContextSerializeFailed, std::move(cause));
}

KubeClientError KubeClientError::InclusterConfigFailed(std::string cause) {
  return make(kClientInclusterConfigFailed, std::move(cause));
}

KubeClusterError KubeClusterError::Unreachable(std::string cause) {
  return make(kClusterUnreachable, std::move(cause));
}

KubeconfigError KubeconfigError::LoadFailed(std::string cause) {
  return make(kKubeconfigLoadFailed, std::move(cause));
}

KubeconfigError KubeconfigError::ReadFailed(std::string path, std::string cause) {
  return make(kKubeconfigReadFailed, std::move(path), std::move(cause));
}

KubeconfigError KubeconfigError::ParseFailed(std::string cause) {
  return make(kKubeconfigParseFailed, std::move(cause));
}

KubeconfigError KubeconfigError::WriteFailed(std::string path, std::string cause) {
  return make(kKubeconfigWriteFailed, std::move(path), std::move(cause));
}

KubeconfigError KubeconfigError::DeleteFailed(std::string path, std::string cause) {
  return make(kKubeconfigDeleteFailed, std::move(path), std::move(cause));
}

KubePodContextError KubePodContextError::EnvironmentVariableMissing(std::string variable) {
  return make(kPodContextEnvironmentVariableMissing, std::move(variable));
}

KubePodContextError KubePodContextError::NamespaceFileMissing(std::string path) {
  return make(kPodContextNamespaceFileMissing, std::move(path));
}

KubePodContextError KubePodContextError::NamespaceFileReadFailed(std::string path, std::string cause) {
  return make(kPodContextNamespaceFileReadFailed, std::move(path), std::move(cause));
}

KubeNamespaceError KubeNamespaceError::NotFound(std::string name) {
  return make(kNamespaceNotFound, std::move(name));
}

KubeNamespaceError KubeNamespaceError::QueryFailed(std::string name, std::string cause) {
  return make(kNamespaceQueryFailed, std::move(name), std::move(cause));
}

KubeStampError KubeStampError::ResolveFailed(std::string cause) {
  return make(kStampResolveFailed, std::move(cause));
}

}  // namespace base::error::kubernetes

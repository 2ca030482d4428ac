#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "base/error/enumeration.h"

// Members of the Kubernetes error family: cluster access and its configuration.
namespace base::error::kubernetes {

// Failures of building the Kubernetes client.
class KubeClientError : public catalog::Enumeration<KubeClientError> {
 public:
  static KubeClientError BuildFailed(std::string cause);
  static KubeClientError ContextSerializeFailed(std::string cause);
  static KubeClientError InclusterConfigFailed(std::string cause);

 private:
  friend Enumeration;
  explicit KubeClientError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// The cluster cannot be reached.
class KubeClusterError : public catalog::Enumeration<KubeClusterError> {
 public:
  static KubeClusterError Unreachable(std::string cause);

 private:
  friend Enumeration;
  explicit KubeClusterError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of handling a kubeconfig file.
class KubeconfigError : public catalog::Enumeration<KubeconfigError> {
 public:
  static KubeconfigError LoadFailed(std::string cause);
  static KubeconfigError ReadFailed(std::string path, std::string cause);
  static KubeconfigError ParseFailed(std::string cause);
  static KubeconfigError WriteFailed(std::string path, std::string cause);
  static KubeconfigError DeleteFailed(std::string path, std::string cause);

 private:
  friend Enumeration;
  explicit KubeconfigError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of reading the context a pod runs in.
class KubePodContextError : public catalog::Enumeration<KubePodContextError> {
 public:
  static KubePodContextError EnvironmentVariableMissing(std::string variable);
  static KubePodContextError NamespaceFileMissing(std::string path);
  static KubePodContextError NamespaceFileReadFailed(std::string path, std::string cause);

 private:
  friend Enumeration;
  explicit KubePodContextError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures around a namespace.
class KubeNamespaceError : public catalog::Enumeration<KubeNamespaceError> {
 public:
  static KubeNamespaceError NotFound(std::string name);
  static KubeNamespaceError QueryFailed(std::string name, std::string cause);

 private:
  friend Enumeration;
  explicit KubeNamespaceError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of stamping a version on a resource.
class KubeStampError : public catalog::Enumeration<KubeStampError> {
 public:
  static KubeStampError ResolveFailed(std::string cause);

 private:
  friend Enumeration;
  explicit KubeStampError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

}  // namespace base::error::kubernetes

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "base/error/enumeration.h"

// Members of the Kubernetes error family: configuration, network and authorization resources.
namespace base::error::kubernetes {

// Failures of ConfigMap operations.
class KubeConfigMapError : public catalog::Enumeration<KubeConfigMapError> {
 public:
  static KubeConfigMapError AlreadyExists(std::string namespace_, std::string name);
  static KubeConfigMapError QueryFailed(std::string namespace_, std::string name, std::string cause);
  static KubeConfigMapError CreateFailed(std::string namespace_, std::string name, std::string cause);
  static KubeConfigMapError ReadFailed(std::string namespace_, std::string name, std::string cause);
  static KubeConfigMapError DeleteFailed(std::string namespace_, std::string name, std::string cause);
  static KubeConfigMapError ListFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubeConfigMapError ReplaceFailed(std::string namespace_, std::string name, std::string cause);
  static KubeConfigMapError StampFailed(std::string namespace_, std::string name, std::string version, std::string cause);
  static KubeConfigMapError NotFound(std::string namespace_, std::string name);

 private:
  friend Enumeration;
  explicit KubeConfigMapError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of Secret operations.
class KubeSecretError : public catalog::Enumeration<KubeSecretError> {
 public:
  static KubeSecretError AlreadyExists(std::string namespace_, std::string name);
  static KubeSecretError QueryFailed(std::string namespace_, std::string name, std::string cause);
  static KubeSecretError CreateFailed(std::string namespace_, std::string name, std::string cause);
  static KubeSecretError ReplaceFailed(std::string namespace_, std::string name, std::string cause);
  static KubeSecretError DeleteFailed(std::string namespace_, std::string name, std::string cause);
  static KubeSecretError ListFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubeSecretError ReadFailed(std::string namespace_, std::string name, std::string cause);
  static KubeSecretError StampFailed(std::string namespace_, std::string name, std::string version, std::string cause);
  static KubeSecretError NotFound(std::string namespace_, std::string name);

 private:
  friend Enumeration;
  explicit KubeSecretError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of service operations.
class KubeServiceError : public catalog::Enumeration<KubeServiceError> {
 public:
  static KubeServiceError ApplyFailed(std::string namespace_, std::string name, std::string cause);
  static KubeServiceError ReplaceFailed(std::string namespace_, std::string name, std::string cause);
  static KubeServiceError QueryFailed(std::string namespace_, std::string name, std::string cause);
  static KubeServiceError DeleteFailed(std::string namespace_, std::string name, std::string cause);
  static KubeServiceError ListFailed(std::string namespace_, std::string cause);
  static KubeServiceError MissingName();
  static KubeServiceError ListEverywhereFailed(std::string cause);

 private:
  friend Enumeration;
  explicit KubeServiceError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of authorization resource operations.
class KubeRbacError : public catalog::Enumeration<KubeRbacError> {
 public:
  static KubeRbacError ServiceAccountApplyFailed(std::string namespace_, std::string name, std::string cause);
  static KubeRbacError RoleApplyFailed(std::string namespace_, std::string name, std::string cause);
  static KubeRbacError RoleBindingApplyFailed(std::string namespace_, std::string name, std::string cause);
  static KubeRbacError QueryFailed(std::string namespace_, std::string name, std::string cause);
  static KubeRbacError DeleteFailed(std::string namespace_, std::string name, std::string cause);
  static KubeRbacError ListFailed(std::string namespace_, std::string cause);
  static KubeRbacError MissingName();

 private:
  friend Enumeration;
  explicit KubeRbacError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

}  // namespace base::error::kubernetes

#include "base/error/kubernetes/resources.h"

namespace base::error::kubernetes {
namespace {

using catalog::Descriptor;
using catalog::record;
using catalog::unit;

constexpr Descriptor kConfigMapAlreadyExists =
    record(100, "AlreadyExists", {"namespace", "name"}, "ConfigMap '{}' already exists in namespace '{}'.", {1, 0});

constexpr Descriptor kConfigMapQueryFailed =
    record(5000, "QueryFailed", {"namespace", "name", "cause"}, "Could not query ConfigMap '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kConfigMapCreateFailed =
    record(5001, "CreateFailed", {"namespace", "name", "cause"}, "Could not create ConfigMap '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kConfigMapReadFailed =
    record(5002, "ReadFailed", {"namespace", "name", "cause"}, "Could not read ConfigMap '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kConfigMapDeleteFailed =
    record(5003, "DeleteFailed", {"namespace", "name", "cause"}, "Could not delete ConfigMap '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kConfigMapListFailed =
    record(5004, "ListFailed", {"namespace", "label_selector", "cause"}, "Could not list ConfigMaps in namespace '{}': {}.", {0, 2});

constexpr Descriptor kConfigMapReplaceFailed =
    record(5005, "ReplaceFailed", {"namespace", "name", "cause"}, "Could not replace ConfigMap '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kConfigMapStampFailed =
    record(5006, "StampFailed", {"namespace", "name", "version", "cause"}, "Could not label ConfigMap '{}' in namespace '{}' with version '{}': {}.", {1, 0, 2, 3});

constexpr Descriptor kConfigMapNotFound =
    record(1000, "NotFound", {"namespace", "name"}, "ConfigMap '{}' not found in namespace '{}'.", {1, 0});

constexpr Descriptor kSecretAlreadyExists =
    record(100, "AlreadyExists", {"namespace", "name"}, "Secret '{}' already exists in namespace '{}'.", {1, 0});

constexpr Descriptor kSecretQueryFailed =
    record(5000, "QueryFailed", {"namespace", "name", "cause"}, "Could not query Secret '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kSecretCreateFailed =
    record(5001, "CreateFailed", {"namespace", "name", "cause"}, "Could not create Secret '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kSecretReplaceFailed =
    record(5002, "ReplaceFailed", {"namespace", "name", "cause"}, "Could not replace Secret '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kSecretDeleteFailed =
    record(5003, "DeleteFailed", {"namespace", "name", "cause"}, "Could not delete Secret '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kSecretListFailed =
    record(5004, "ListFailed", {"namespace", "label_selector", "cause"}, "Could not list Secrets in namespace '{}': {}.", {0, 2});

constexpr Descriptor kSecretReadFailed =
    record(5005, "ReadFailed", {"namespace", "name", "cause"}, "Could not read Secret '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kSecretStampFailed =
    record(5006, "StampFailed", {"namespace", "name", "version", "cause"}, "Could not label Secret '{}' in namespace '{}' with version '{}': {}.", {1, 0, 2, 3});

constexpr Descriptor kSecretNotFound =
    record(1000, "NotFound", {"namespace", "name"}, "Secret '{}' not found in namespace '{}'.", {1, 0});

constexpr Descriptor kServiceApplyFailed =
    record(5000, "ApplyFailed", {"namespace", "name", "cause"}, "Could not apply service '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kServiceReplaceFailed =
    record(5001, "ReplaceFailed", {"namespace", "name", "cause"}, "Could not replace service '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kServiceQueryFailed =
    record(5002, "QueryFailed", {"namespace", "name", "cause"}, "Could not query service '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kServiceDeleteFailed =
    record(5003, "DeleteFailed", {"namespace", "name", "cause"}, "Could not delete service '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kServiceListFailed =
    record(5004, "ListFailed", {"namespace", "cause"}, "Could not list services in namespace '{}': {}.", {0, 1});

constexpr Descriptor kServiceMissingName =
    unit(5005, "MissingName", "Service manifest declares no metadata.name.");

constexpr Descriptor kServiceListEverywhereFailed =
    record(5006, "ListEverywhereFailed", {"cause"}, "Could not list services of every namespace: {}.", {0});

constexpr Descriptor kRbacServiceAccountApplyFailed =
    record(5000, "ServiceAccountApplyFailed", {"namespace", "name", "cause"}, "Could not apply service account '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kRbacRoleApplyFailed =
    record(5001, "RoleApplyFailed", {"namespace", "name", "cause"}, "Could not apply role '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kRbacRoleBindingApplyFailed =
    record(5002, "RoleBindingApplyFailed", {"namespace", "name", "cause"}, "Could not apply role binding '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kRbacQueryFailed =
    record(5003, "QueryFailed", {"namespace", "name", "cause"}, "Could not query '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kRbacDeleteFailed =
    record(5004, "DeleteFailed", {"namespace", "name", "cause"}, "Could not delete '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kRbacListFailed =
    record(5005, "ListFailed", {"namespace", "cause"}, "Could not list authorization resources in namespace '{}': {}.", {0, 1});

constexpr Descriptor kRbacMissingName =
    unit(5006, "MissingName", "Authorization manifest declares no metadata.name.");

}  // namespace

KubeConfigMapError KubeConfigMapError::AlreadyExists(std::string namespace_, std::string name) {
  return make(kConfigMapAlreadyExists, std::move(namespace_), std::move(name));
}

KubeConfigMapError KubeConfigMapError::QueryFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kConfigMapQueryFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeConfigMapError KubeConfigMapError::CreateFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kConfigMapCreateFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeConfigMapError KubeConfigMapError::ReadFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kConfigMapReadFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeConfigMapError KubeConfigMapError::DeleteFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kConfigMapDeleteFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeConfigMapError KubeConfigMapError::ListFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kConfigMapListFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubeConfigMapError KubeConfigMapError::ReplaceFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kConfigMapReplaceFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeConfigMapError KubeConfigMapError::StampFailed(std::string namespace_, std::string name, std::string version, std::string cause) {
  return make(kConfigMapStampFailed, std::move(namespace_), std::move(name), std::move(version), std::move(cause));
}

KubeConfigMapError KubeConfigMapError::NotFound(std::string namespace_, std::string name) {
  return make(kConfigMapNotFound, std::move(namespace_), std::move(name));
}

KubeSecretError KubeSecretError::AlreadyExists(std::string namespace_, std::string name) {
  return make(kSecretAlreadyExists, std::move(namespace_), std::move(name));
}

KubeSecretError KubeSecretError::QueryFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kSecretQueryFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeSecretError KubeSecretError::CreateFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kSecretCreateFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeSecretError KubeSecretError::ReplaceFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kSecretReplaceFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeSecretError KubeSecretError::DeleteFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kSecretDeleteFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeSecretError KubeSecretError::ListFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kSecretListFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubeSecretError KubeSecretError::ReadFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kSecretReadFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeSecretError KubeSecretError::StampFailed(std::string namespace_, std::string name, std::string version, std::string cause) {
  return make(kSecretStampFailed, std::move(namespace_), std::move(name), std::move(version), std::move(cause));
}

KubeSecretError KubeSecretError::NotFound(std::string namespace_, std::string name) {
  return make(kSecretNotFound, std::move(namespace_), std::move(name));
}

KubeServiceError KubeServiceError::ApplyFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kServiceApplyFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeServiceError KubeServiceError::ReplaceFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kServiceReplaceFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeServiceError KubeServiceError::QueryFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kServiceQueryFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeServiceError KubeServiceError::DeleteFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kServiceDeleteFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeServiceError KubeServiceError::ListFailed(std::string namespace_, std::string cause) {
  return make(kServiceListFailed, std::move(namespace_), std::move(cause));
}

KubeServiceError KubeServiceError::MissingName() {
  return make(kServiceMissingName);
}

KubeServiceError KubeServiceError::ListEverywhereFailed(std::string cause) {
  return make(kServiceListEverywhereFailed, std::move(cause));
}

KubeRbacError KubeRbacError::ServiceAccountApplyFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kRbacServiceAccountApplyFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeRbacError KubeRbacError::RoleApplyFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kRbacRoleApplyFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeRbacError KubeRbacError::RoleBindingApplyFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kRbacRoleBindingApplyFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeRbacError KubeRbacError::QueryFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kRbacQueryFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeRbacError KubeRbacError::DeleteFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kRbacDeleteFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeRbacError KubeRbacError::ListFailed(std::string namespace_, std::string cause) {
  return make(kRbacListFailed, std::move(namespace_), std::move(cause));
}

KubeRbacError KubeRbacError::MissingName() {
  return make(kRbacMissingName);
}

}  // namespace base::error::kubernetes

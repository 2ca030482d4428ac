#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "base/error/enumeration.h"

// Members of the Kubernetes error family: workloads and their start.
namespace base::error::kubernetes {

// Failures of creating a workload together with its companions.
class KubeCompanionsError : public catalog::Enumeration<KubeCompanionsError> {
 public:
  static KubeCompanionsError CreationAbandoned(std::string namespace_, std::string name, std::string cause);
  static KubeCompanionsError CompensationFailed(std::string namespace_, std::string name, std::string cause);

 private:
  friend Enumeration;
  explicit KubeCompanionsError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of cronjob operations.
class KubeCronJobError : public catalog::Enumeration<KubeCronJobError> {
 public:
  static KubeCronJobError ApplyFailed(std::string namespace_, std::string cause);
  static KubeCronJobError DeleteCollectionFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubeCronJobError ListFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubeCronJobError DeleteFailed(std::string namespace_, std::string name, std::string cause);
  static KubeCronJobError AwaitFailed(std::string namespace_, std::string name, std::string cause);

 private:
  friend Enumeration;
  explicit KubeCronJobError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of deployment operations.
class KubeDeploymentError : public catalog::Enumeration<KubeDeploymentError> {
 public:
  static KubeDeploymentError ApplyFailed(std::string namespace_, std::string cause);
  static KubeDeploymentError AwaitFailed(std::string namespace_, std::string name, std::string cause);
  static KubeDeploymentError DeleteCollectionFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubeDeploymentError ListFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubeDeploymentError MissingName(std::string key);
  static KubeDeploymentError DeletedBeforeAvailable(std::string name);
  static KubeDeploymentError Failed(std::string name);
  static KubeDeploymentError DeleteFailed(std::string namespace_, std::string name, std::string cause);
  static KubeDeploymentError MissingSelector(std::string namespace_, std::string name);
  static KubeDeploymentError PodResolutionFailed(std::string namespace_, std::string name, std::string cause);

 private:
  friend Enumeration;
  explicit KubeDeploymentError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of pod disruption budget operations.
class KubeDisruptionError : public catalog::Enumeration<KubeDisruptionError> {
 public:
  static KubeDisruptionError UpsertFailed(std::string name, std::string cause);
  static KubeDisruptionError DeleteFailed(std::string cause);
  static KubeDisruptionError MissingName();

 private:
  friend Enumeration;
  explicit KubeDisruptionError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of job operations.
class KubeJobError : public catalog::Enumeration<KubeJobError> {
 public:
  static KubeJobError ApplyFailed(std::string namespace_, std::string cause);
  static KubeJobError AwaitFailed(std::string namespace_, std::string name, std::string cause);
  static KubeJobError DeleteCollectionFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubeJobError ListFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubeJobError MissingName(std::string key);
  static KubeJobError DeletedBeforeCompletion(std::string name);
  static KubeJobError Failed(std::string name);
  static KubeJobError DeleteFailed(std::string namespace_, std::string name, std::string cause);
  static KubeJobError GetFailed(std::string namespace_, std::string name, std::string cause);

 private:
  friend Enumeration;
  explicit KubeJobError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of pod operations.
class KubePodError : public catalog::Enumeration<KubePodError> {
 public:
  static KubePodError ApplyFailed(std::string namespace_, std::string cause);
  static KubePodError AwaitFailed(std::string namespace_, std::string name, std::string cause);
  static KubePodError DeleteCollectionFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubePodError ListFailed(std::string namespace_, std::string label_selector, std::string cause);
  static KubePodError MissingName(std::string key);
  static KubePodError DeletedBeforeReady(std::string name);
  static KubePodError Failed(std::string name);
  static KubePodError DeleteFailed(std::string namespace_, std::string name, std::string cause);
  static KubePodError LogStreamFailed(std::string namespace_, std::string name, std::string cause);
  static KubePodError WatchFailed(std::string namespace_, std::string name, std::string cause);
  static KubePodError NotFound(std::string namespace_, std::string label_selector);
  static KubePodError MultipleFound(std::string namespace_, std::string label_selector, std::size_t count);

 private:
  friend Enumeration;
  explicit KubePodError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

// Failures of building start messages from pod templates.
class KubeMessagingError : public catalog::Enumeration<KubeMessagingError> {
 public:
  static KubeMessagingError TemplateNotFound(std::string component);
  static KubeMessagingError UnsupportedTemplateKind(std::string component, std::string kind);
  static KubeMessagingError TemplateNotUtf8(std::string configmap, std::string key);
  static KubeMessagingError UnsupportedCallbackVariant(std::string worker, std::string worker_id);
  static KubeMessagingError ConnectionNameDerivationFailed(std::string connection_id, std::string cause);
  static KubeMessagingError StartMissingCallback(std::string worker, std::string worker_id);

 private:
  friend Enumeration;
  explicit KubeMessagingError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

}  // namespace base::error::kubernetes

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "base/error/enumeration.h"
#include "base/error/kubernetes/cluster.h"
#include "base/error/kubernetes/naming.h"
#include "base/error/kubernetes/resources.h"
#include "base/error/kubernetes/workloads.h"

namespace base::error::kubernetes {

// The Kubernetes error family: one variant per resource kind, each wrapping
// that kind's error enumeration; its message is the member's message.
class KubernetesError : public catalog::Enumeration<KubernetesError> {
 public:
  static KubernetesError Client(KubeClientError error);
  static KubernetesError Cluster(KubeClusterError error);
  static KubernetesError Companions(KubeCompanionsError error);
  static KubernetesError ConfigMap(KubeConfigMapError error);
  static KubernetesError CronJob(KubeCronJobError error);
  static KubernetesError Deployment(KubeDeploymentError error);
  static KubernetesError Disruption(KubeDisruptionError error);
  static KubernetesError Job(KubeJobError error);
  static KubernetesError Stamp(KubeStampError error);
  static KubernetesError Kubeconfig(KubeconfigError error);
  static KubernetesError Messaging(KubeMessagingError error);
  static KubernetesError Namespace(KubeNamespaceError error);
  static KubernetesError Pod(KubePodError error);
  static KubernetesError PodContext(KubePodContextError error);
  static KubernetesError Rbac(KubeRbacError error);
  static KubernetesError Secret(KubeSecretError error);
  static KubernetesError Service(KubeServiceError error);
  static KubernetesError Naming(NamingError error);

 private:
  friend Enumeration;
  explicit KubernetesError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

}  // namespace base::error::kubernetes

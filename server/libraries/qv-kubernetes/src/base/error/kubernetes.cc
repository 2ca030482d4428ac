#include "base/error/kubernetes.h"

namespace base::error::kubernetes {
namespace {

using catalog::Descriptor;
using catalog::tuple;

constexpr Descriptor kClient =
    tuple(0, "Client", 1, "{}", {0});

constexpr Descriptor kCluster =
    tuple(1, "Cluster", 1, "{}", {0});

constexpr Descriptor kCompanions =
    tuple(2, "Companions", 1, "{}", {0});

constexpr Descriptor kConfigMap =
    tuple(3, "ConfigMap", 1, "{}", {0});

constexpr Descriptor kCronJob =
    tuple(4, "CronJob", 1, "{}", {0});

constexpr Descriptor kDeployment =
    tuple(5, "Deployment", 1, "{}", {0});

constexpr Descriptor kDisruption =
    tuple(6, "Disruption", 1, "{}", {0});

constexpr Descriptor kJob =
    tuple(7, "Job", 1, "{}", {0});

constexpr Descriptor kStamp =
    tuple(8, "Stamp", 1, "{}", {0});

constexpr Descriptor kKubeconfig =
    tuple(9, "Kubeconfig", 1, "{}", {0});

constexpr Descriptor kMessaging =
    tuple(10, "Messaging", 1, "{}", {0});

constexpr Descriptor kNamespace =
    tuple(11, "Namespace", 1, "{}", {0});

constexpr Descriptor kPod =
    tuple(12, "Pod", 1, "{}", {0});

constexpr Descriptor kPodContext =
    tuple(13, "PodContext", 1, "{}", {0});

constexpr Descriptor kRbac =
    tuple(14, "Rbac", 1, "{}", {0});

constexpr Descriptor kSecret =
    tuple(15, "Secret", 1, "{}", {0});

constexpr Descriptor kService =
    tuple(16, "Service", 1, "{}", {0});

constexpr Descriptor kNaming =
    tuple(17, "Naming", 1, "{}", {0});

}  // namespace

KubernetesError KubernetesError::Client(KubeClientError error) {
  return make(kClient, error.entry());
}

KubernetesError KubernetesError::Cluster(KubeClusterError error) {
  return make(kCluster, error.entry());
}

KubernetesError KubernetesError::Companions(KubeCompanionsError error) {
  return make(kCompanions, error.entry());
}

KubernetesError KubernetesError::ConfigMap(KubeConfigMapError error) {
  return make(kConfigMap, error.entry());
}

KubernetesError KubernetesError::CronJob(KubeCronJobError error) {
  return make(kCronJob, error.entry());
}

KubernetesError KubernetesError::Deployment(KubeDeploymentError error) {
  return make(kDeployment, error.entry());
}

KubernetesError KubernetesError::Disruption(KubeDisruptionError error) {
  return make(kDisruption, error.entry());
}

KubernetesError KubernetesError::Job(KubeJobError error) {
  return make(kJob, error.entry());
}

KubernetesError KubernetesError::Stamp(KubeStampError error) {
  return make(kStamp, error.entry());
}

KubernetesError KubernetesError::Kubeconfig(KubeconfigError error) {
  return make(kKubeconfig, error.entry());
}

KubernetesError KubernetesError::Messaging(KubeMessagingError error) {
  return make(kMessaging, error.entry());
}

KubernetesError KubernetesError::Namespace(KubeNamespaceError error) {
  return make(kNamespace, error.entry());
}

KubernetesError KubernetesError::Pod(KubePodError error) {
  return make(kPod, error.entry());
}

KubernetesError KubernetesError::PodContext(KubePodContextError error) {
  return make(kPodContext, error.entry());
}

KubernetesError KubernetesError::Rbac(KubeRbacError error) {
  return make(kRbac, error.entry());
}

KubernetesError KubernetesError::Secret(KubeSecretError error) {
  return make(kSecret, error.entry());
}

KubernetesError KubernetesError::Service(KubeServiceError error) {
  return make(kService, error.entry());
}

KubernetesError KubernetesError::Naming(NamingError error) {
  return make(kNaming, error.entry());
}

}  // namespace base::error::kubernetes

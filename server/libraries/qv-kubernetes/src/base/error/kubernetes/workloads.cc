#include "base/error/kubernetes/workloads.h"

namespace base::error::kubernetes {
namespace {

using catalog::Descriptor;
using catalog::record;
using catalog::unit;

constexpr Descriptor kCompanionsCreationAbandoned =
    record(5000, "CreationAbandoned", {"namespace", "name", "cause"}, "Creating the workload '{}' in namespace '{}' did not run to completion: {}.", {1, 0, 2});

constexpr Descriptor kCompanionsCompensationFailed =
    record(5001, "CompensationFailed", {"namespace", "name", "cause"}, "Creating the workload '{}' in namespace '{}' failed, and the partially created workload could not be removed: {}. It holds only some of its configmaps and secrets, so it will never start; recovery removes it once it exceeds its dispatch grace.", {1, 0, 2});

constexpr Descriptor kCronJobApplyFailed =
    record(5000, "ApplyFailed", {"namespace", "cause"}, "Could not apply cronjob in namespace '{}': {}.", {0, 1});

constexpr Descriptor kCronJobDeleteCollectionFailed =
    record(5001, "DeleteCollectionFailed", {"namespace", "label_selector", "cause"}, "Could not delete cronjobs matching '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kCronJobListFailed =
    record(5002, "ListFailed", {"namespace", "label_selector", "cause"}, "Could not list cronjobs matching '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kCronJobDeleteFailed =
    record(5003, "DeleteFailed", {"namespace", "name", "cause"}, "Could not delete cronjob '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kCronJobAwaitFailed =
    record(5004, "AwaitFailed", {"namespace", "name", "cause"}, "Could not await cronjob '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kDeploymentApplyFailed =
    record(5000, "ApplyFailed", {"namespace", "cause"}, "Could not apply deployment in namespace '{}': {}.", {0, 1});

constexpr Descriptor kDeploymentAwaitFailed =
    record(5001, "AwaitFailed", {"namespace", "name", "cause"}, "Could not await deployment '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kDeploymentDeleteCollectionFailed =
    record(5002, "DeleteCollectionFailed", {"namespace", "label_selector", "cause"}, "Could not delete deployments matching '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kDeploymentListFailed =
    record(5003, "ListFailed", {"namespace", "label_selector", "cause"}, "Could not list deployments matching '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kDeploymentMissingName =
    record(5004, "MissingName", {"key"}, "Deployment from '{}' was created without a metadata.name.", {0});

constexpr Descriptor kDeploymentDeletedBeforeAvailable =
    record(5005, "DeletedBeforeAvailable", {"name"}, "Deployment '{}' was deleted before becoming available.", {0});

constexpr Descriptor kDeploymentFailed =
    record(5006, "Failed", {"name"}, "Deployment '{}' failed to progress.", {0});

constexpr Descriptor kDeploymentDeleteFailed =
    record(5007, "DeleteFailed", {"namespace", "name", "cause"}, "Could not delete deployment '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kDeploymentMissingSelector =
    record(5008, "MissingSelector", {"namespace", "name"}, "Deployment '{}' in namespace '{}' has no pod selector.", {1, 0});

constexpr Descriptor kDeploymentPodResolutionFailed =
    record(5009, "PodResolutionFailed", {"namespace", "name", "cause"}, "Could not resolve the pod of deployment '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kDisruptionUpsertFailed =
    record(5000, "UpsertFailed", {"name", "cause"}, "Could not apply pod disruption budget '{}': {}.", {0, 1});

constexpr Descriptor kDisruptionDeleteFailed =
    record(5001, "DeleteFailed", {"cause"}, "Could not delete the pod disruption budgets: {}.", {0});

constexpr Descriptor kDisruptionMissingName =
    unit(5002, "MissingName", "Pod disruption budget manifest declares no metadata.name.");

constexpr Descriptor kJobApplyFailed =
    record(5000, "ApplyFailed", {"namespace", "cause"}, "Could not apply job in namespace '{}': {}.", {0, 1});

constexpr Descriptor kJobAwaitFailed =
    record(5001, "AwaitFailed", {"namespace", "name", "cause"}, "Could not await job '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kJobDeleteCollectionFailed =
    record(5002, "DeleteCollectionFailed", {"namespace", "label_selector", "cause"}, "Could not delete jobs matching '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kJobListFailed =
    record(5003, "ListFailed", {"namespace", "label_selector", "cause"}, "Could not list jobs matching '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kJobMissingName =
    record(5004, "MissingName", {"key"}, "Job from '{}' was created without a metadata.name.", {0});

constexpr Descriptor kJobDeletedBeforeCompletion =
    record(5005, "DeletedBeforeCompletion", {"name"}, "Job '{}' was deleted before completion.", {0});

constexpr Descriptor kJobFailed =
    record(5006, "Failed", {"name"}, "Job '{}' failed.", {0});

constexpr Descriptor kJobDeleteFailed =
    record(5007, "DeleteFailed", {"namespace", "name", "cause"}, "Could not delete job '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kJobGetFailed =
    record(5008, "GetFailed", {"namespace", "name", "cause"}, "Could not get job '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kPodApplyFailed =
    record(5000, "ApplyFailed", {"namespace", "cause"}, "Could not apply pod in namespace '{}': {}.", {0, 1});

constexpr Descriptor kPodAwaitFailed =
    record(5001, "AwaitFailed", {"namespace", "name", "cause"}, "Could not await pod '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kPodDeleteCollectionFailed =
    record(5002, "DeleteCollectionFailed", {"namespace", "label_selector", "cause"}, "Could not delete pods matching '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kPodListFailed =
    record(5003, "ListFailed", {"namespace", "label_selector", "cause"}, "Could not list pods matching '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kPodMissingName =
    record(5004, "MissingName", {"key"}, "Pod from '{}' was created without a metadata.name.", {0});

constexpr Descriptor kPodDeletedBeforeReady =
    record(5005, "DeletedBeforeReady", {"name"}, "Pod '{}' was deleted before becoming ready.", {0});

constexpr Descriptor kPodFailed =
    record(5006, "Failed", {"name"}, "Pod '{}' failed.", {0});

constexpr Descriptor kPodDeleteFailed =
    record(5007, "DeleteFailed", {"namespace", "name", "cause"}, "Could not delete pod '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kPodLogStreamFailed =
    record(5008, "LogStreamFailed", {"namespace", "name", "cause"}, "Could not stream logs of pod '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kPodWatchFailed =
    record(5009, "WatchFailed", {"namespace", "name", "cause"}, "Could not watch pod '{}' in namespace '{}': {}.", {1, 0, 2});

constexpr Descriptor kPodNotFound =
    record(5010, "NotFound", {"namespace", "label_selector"}, "No pod matching '{}' found in namespace '{}'.", {1, 0});

constexpr Descriptor kPodMultipleFound =
    record(5011, "MultipleFound", {"namespace", "label_selector", "count"}, "Expected a single pod matching '{}' in namespace '{}', found {}.", {1, 0, 2});

constexpr Descriptor kMessagingTemplateNotFound =
    record(1000, "TemplateNotFound", {"component"}, "No pod template found for component '{}'.", {0});

constexpr Descriptor kMessagingUnsupportedTemplateKind =
    record(5000, "UnsupportedTemplateKind", {"component", "kind"}, "Pod template for component '{}' has unsupported kind '{}'.", {0, 1});

constexpr Descriptor kMessagingTemplateNotUtf8 =
    record(5001, "TemplateNotUtf8", {"configmap", "key"}, "Pod template configmap '{}' entry '{}' is not valid UTF-8.", {0, 1});

constexpr Descriptor kMessagingUnsupportedCallbackVariant =
    record(5002, "UnsupportedCallbackVariant", {"worker", "worker_id"}, "Start message for worker '{}' id '{}' carries a callback variant other than HTTP.", {0, 1});

constexpr Descriptor kMessagingConnectionNameDerivationFailed =
    record(5003, "ConnectionNameDerivationFailed", {"connection_id", "cause"}, "Could not derive the kubernetes name for connection '{}': {}.", {0, 1});

constexpr Descriptor kMessagingStartMissingCallback =
    record(5004, "StartMissingCallback", {"worker", "worker_id"}, "Start message for worker '{}' id '{}' is missing the responder callback.", {0, 1});

}  // namespace

KubeCompanionsError KubeCompanionsError::CreationAbandoned(std::string namespace_, std::string name, std::string cause) {
  return make(kCompanionsCreationAbandoned, std::move(namespace_), std::move(name), std::move(cause));
}

KubeCompanionsError KubeCompanionsError::CompensationFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kCompanionsCompensationFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeCronJobError KubeCronJobError::ApplyFailed(std::string namespace_, std::string cause) {
  return make(kCronJobApplyFailed, std::move(namespace_), std::move(cause));
}

KubeCronJobError KubeCronJobError::DeleteCollectionFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kCronJobDeleteCollectionFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubeCronJobError KubeCronJobError::ListFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kCronJobListFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubeCronJobError KubeCronJobError::DeleteFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kCronJobDeleteFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeCronJobError KubeCronJobError::AwaitFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kCronJobAwaitFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeDeploymentError KubeDeploymentError::ApplyFailed(std::string namespace_, std::string cause) {
  return make(kDeploymentApplyFailed, std::move(namespace_), std::move(cause));
}

KubeDeploymentError KubeDeploymentError::AwaitFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kDeploymentAwaitFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeDeploymentError KubeDeploymentError::DeleteCollectionFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kDeploymentDeleteCollectionFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubeDeploymentError KubeDeploymentError::ListFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kDeploymentListFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubeDeploymentError KubeDeploymentError::MissingName(std::string key) {
  return make(kDeploymentMissingName, std::move(key));
}

KubeDeploymentError KubeDeploymentError::DeletedBeforeAvailable(std::string name) {
  return make(kDeploymentDeletedBeforeAvailable, std::move(name));
}

KubeDeploymentError KubeDeploymentError::Failed(std::string name) {
  return make(kDeploymentFailed, std::move(name));
}

KubeDeploymentError KubeDeploymentError::DeleteFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kDeploymentDeleteFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeDeploymentError KubeDeploymentError::MissingSelector(std::string namespace_, std::string name) {
  return make(kDeploymentMissingSelector, std::move(namespace_), std::move(name));
}

KubeDeploymentError KubeDeploymentError::PodResolutionFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kDeploymentPodResolutionFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeDisruptionError KubeDisruptionError::UpsertFailed(std::string name, std::string cause) {
  return make(kDisruptionUpsertFailed, std::move(name), std::move(cause));
}

KubeDisruptionError KubeDisruptionError::DeleteFailed(std::string cause) {
  return make(kDisruptionDeleteFailed, std::move(cause));
}

KubeDisruptionError KubeDisruptionError::MissingName() {
  return make(kDisruptionMissingName);
}

KubeJobError KubeJobError::ApplyFailed(std::string namespace_, std::string cause) {
  return make(kJobApplyFailed, std::move(namespace_), std::move(cause));
}

KubeJobError KubeJobError::AwaitFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kJobAwaitFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeJobError KubeJobError::DeleteCollectionFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kJobDeleteCollectionFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubeJobError KubeJobError::ListFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kJobListFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubeJobError KubeJobError::MissingName(std::string key) {
  return make(kJobMissingName, std::move(key));
}

KubeJobError KubeJobError::DeletedBeforeCompletion(std::string name) {
  return make(kJobDeletedBeforeCompletion, std::move(name));
}

KubeJobError KubeJobError::Failed(std::string name) {
  return make(kJobFailed, std::move(name));
}

KubeJobError KubeJobError::DeleteFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kJobDeleteFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubeJobError KubeJobError::GetFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kJobGetFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubePodError KubePodError::ApplyFailed(std::string namespace_, std::string cause) {
  return make(kPodApplyFailed, std::move(namespace_), std::move(cause));
}

KubePodError KubePodError::AwaitFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kPodAwaitFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubePodError KubePodError::DeleteCollectionFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kPodDeleteCollectionFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubePodError KubePodError::ListFailed(std::string namespace_, std::string label_selector, std::string cause) {
  return make(kPodListFailed, std::move(namespace_), std::move(label_selector), std::move(cause));
}

KubePodError KubePodError::MissingName(std::string key) {
  return make(kPodMissingName, std::move(key));
}

KubePodError KubePodError::DeletedBeforeReady(std::string name) {
  return make(kPodDeletedBeforeReady, std::move(name));
}

KubePodError KubePodError::Failed(std::string name) {
  return make(kPodFailed, std::move(name));
}

KubePodError KubePodError::DeleteFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kPodDeleteFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubePodError KubePodError::LogStreamFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kPodLogStreamFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubePodError KubePodError::WatchFailed(std::string namespace_, std::string name, std::string cause) {
  return make(kPodWatchFailed, std::move(namespace_), std::move(name), std::move(cause));
}

KubePodError KubePodError::NotFound(std::string namespace_, std::string label_selector) {
  return make(kPodNotFound, std::move(namespace_), std::move(label_selector));
}

KubePodError KubePodError::MultipleFound(std::string namespace_, std::string label_selector, std::size_t count) {
  return make(kPodMultipleFound, std::move(namespace_), std::move(label_selector), count);
}

KubeMessagingError KubeMessagingError::TemplateNotFound(std::string component) {
  return make(kMessagingTemplateNotFound, std::move(component));
}

KubeMessagingError KubeMessagingError::UnsupportedTemplateKind(std::string component, std::string kind) {
  return make(kMessagingUnsupportedTemplateKind, std::move(component), std::move(kind));
}

KubeMessagingError KubeMessagingError::TemplateNotUtf8(std::string configmap, std::string key) {
  return make(kMessagingTemplateNotUtf8, std::move(configmap), std::move(key));
}

KubeMessagingError KubeMessagingError::UnsupportedCallbackVariant(std::string worker, std::string worker_id) {
  return make(kMessagingUnsupportedCallbackVariant, std::move(worker), std::move(worker_id));
}

KubeMessagingError KubeMessagingError::ConnectionNameDerivationFailed(std::string connection_id, std::string cause) {
  return make(kMessagingConnectionNameDerivationFailed, std::move(connection_id), std::move(cause));
}

KubeMessagingError KubeMessagingError::StartMissingCallback(std::string worker, std::string worker_id) {
  return make(kMessagingStartMissingCallback, std::move(worker), std::move(worker_id));
}

}  // namespace base::error::kubernetes

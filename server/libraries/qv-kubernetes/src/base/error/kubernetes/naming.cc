#include "base/error/kubernetes/naming.h"

namespace base::error::kubernetes {
namespace {

using catalog::Descriptor;
using catalog::record;

constexpr Descriptor kNamingPodMissingOwnerMetadata =
    record(2, "PodMissingOwnerMetadata", {"field"}, "Pod is missing metadata field '{}'.", {0});

constexpr Descriptor kNamingJobMissingOwnerMetadata =
    record(3, "JobMissingOwnerMetadata", {"field"}, "Job is missing metadata field '{}'.", {0});

constexpr Descriptor kNamingInvalidNameSegment =
    record(4, "InvalidNameSegment", {"segment", "value", "reason"}, "Name segment '{}' value '{}' is invalid: {}.", {0, 1, 2});

constexpr Descriptor kNamingAssembledIdentifierTooLong =
    record(5, "AssembledIdentifierTooLong", {"identifier", "limit"}, "Assembled kube identifier '{}' exceeds {} characters.", {0, 1});

constexpr Descriptor kNamingAssembledIdentifierInvalid =
    record(6, "AssembledIdentifierInvalid", {"identifier"}, "Assembled kube identifier '{}' is not valid.", {0});

constexpr Descriptor kNamingInvalidSegmentCount =
    record(7, "InvalidSegmentCount", {"identifier", "qsegments"}, "Kube identifier '{}' has {} dash-separated segments; expected 2 or 3.", {0, 1});

constexpr Descriptor kNamingInvalidConfigmapName =
    record(8, "InvalidConfigmapName", {"name"}, "Assembled configmap name '{}' is not a valid DNS-1123 subdomain (lowercase alphanumeric, '-', '.' only).", {0});

constexpr Descriptor kNamingCronJobMissingOwnerMetadata =
    record(9, "CronJobMissingOwnerMetadata", {"field"}, "CronJob is missing metadata field '{}'.", {0});

constexpr Descriptor kNamingDeploymentMissingOwnerMetadata =
    record(10, "DeploymentMissingOwnerMetadata", {"field"}, "Deployment is missing metadata field '{}'.", {0});

}  // namespace

NamingError NamingError::PodMissingOwnerMetadata(std::string field) {
  return make(kNamingPodMissingOwnerMetadata, std::move(field));
}

NamingError NamingError::JobMissingOwnerMetadata(std::string field) {
  return make(kNamingJobMissingOwnerMetadata, std::move(field));
}

NamingError NamingError::InvalidNameSegment(naming::NameSegment segment, std::string value, std::string reason) {
  return make(kNamingInvalidNameSegment, naming::entry(segment), std::move(value), std::move(reason));
}

NamingError NamingError::AssembledIdentifierTooLong(std::string identifier, std::size_t limit) {
  return make(kNamingAssembledIdentifierTooLong, std::move(identifier), limit);
}

NamingError NamingError::AssembledIdentifierInvalid(std::string identifier) {
  return make(kNamingAssembledIdentifierInvalid, std::move(identifier));
}

NamingError NamingError::InvalidSegmentCount(std::string identifier, std::size_t qsegments) {
  return make(kNamingInvalidSegmentCount, std::move(identifier), qsegments);
}

NamingError NamingError::InvalidConfigmapName(std::string name) {
  return make(kNamingInvalidConfigmapName, std::move(name));
}

NamingError NamingError::CronJobMissingOwnerMetadata(std::string field) {
  return make(kNamingCronJobMissingOwnerMetadata, std::move(field));
}

NamingError NamingError::DeploymentMissingOwnerMetadata(std::string field) {
  return make(kNamingDeploymentMissingOwnerMetadata, std::move(field));
}

}  // namespace base::error::kubernetes

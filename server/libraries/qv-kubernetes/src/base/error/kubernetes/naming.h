#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "base/error/enumeration.h"
#include "base/error/naming.h"

// Members of the Kubernetes error family: assembled resource names.
namespace base::error::kubernetes {

// Failures of assembling Kubernetes names.
class NamingError : public catalog::Enumeration<NamingError> {
 public:
  static NamingError PodMissingOwnerMetadata(std::string field);
  static NamingError JobMissingOwnerMetadata(std::string field);
  static NamingError InvalidNameSegment(naming::NameSegment segment, std::string value, std::string reason);
  static NamingError AssembledIdentifierTooLong(std::string identifier, std::size_t limit);
  static NamingError AssembledIdentifierInvalid(std::string identifier);
  static NamingError InvalidSegmentCount(std::string identifier, std::size_t qsegments);
  static NamingError InvalidConfigmapName(std::string name);
  static NamingError CronJobMissingOwnerMetadata(std::string field);
  static NamingError DeploymentMissingOwnerMetadata(std::string field);

 private:
  friend Enumeration;
  explicit NamingError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

}  // namespace base::error::kubernetes

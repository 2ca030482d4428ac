#pragma once

// The projection registry: one static entry per data-access record, submitted
// by start-up registrations before main runs and never changed afterwards.

#include <vector>

#include "dao_registry/dao_projection.h"
#include "startup_registry.h"

namespace dao_registry {

struct RegisteredDao {
  using Registry = qv_common::startup_registry::StartupRegistry<RegisteredDao>;

  // Builds the record's projection; the entry holds the function, so every
  // call yields a new projection that the caller owns.
  DaoProjection (*projection)();

  // Adds the node and the entry it refers to; lock-free.
  static void submit(Registry::Node& node);
};

using DaoRegistry = RegisteredDao::Registry;

// A start-up registration of one entry; define it at namespace scope.
using DaoRegistration = qv_common::startup_registry::Registration<RegisteredDao>;

// The process-wide registry; a walk meets the entries last registered first.
const DaoRegistry& registry();

// Every registered entry's projection, built afresh, in the order a walk meets
// them: for each record, the relation and the columns a reader selects.
std::vector<DaoProjection> registered_projections();

}  // namespace dao_registry

#include "dao_registry/registered_dao.h"

namespace dao_registry {
namespace {

// Constant-initialised, so it is ready before the first static constructor of
// any translation unit submits to it.
constinit DaoRegistry entries;

}  // namespace

void RegisteredDao::submit(Registry::Node& node) { entries.submit(node); }

const DaoRegistry& registry() { return entries; }

std::vector<DaoProjection> registered_projections() {
  std::vector<DaoProjection> projections;
  for (const RegisteredDao& entry : entries) projections.push_back(entry.projection());
  return projections;
}

}  // namespace dao_registry

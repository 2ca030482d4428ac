#include "components/component.h"

namespace components::component {
namespace {

// Constant-initialised, so it is ready before the first static constructor of
// any translation unit submits to it.
constinit ComponentRegistry entries;

}  // namespace

void ComponentRegistration::submit(Registry::Node& node) { entries.submit(node); }

const ComponentRegistry& registry() { return entries; }

}  // namespace components::component

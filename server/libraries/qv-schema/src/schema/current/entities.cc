#include "schema/current/entities.h"

#include "schema/current/system.h"
#include "schema/current/users.h"

namespace schema::current {
namespace {

template <typename Defs>
const Defs kDefs{};

// The creation order of the schema: a module comes after every module its
// foreign keys, views and seeds refer to.
const entity::Entity* const kCurrentEntities[] = {
    &kDefs<system::Defs>,
    &kDefs<users::Defs>,
};

}  // namespace

std::span<const entity::Entity* const> current_entities() { return kCurrentEntities; }

}  // namespace schema::current

#include "schema/archive/v4/entities.h"

#include "schema/archive/v4/bundles.h"
#include "schema/archive/v4/collections.h"
#include "schema/archive/v4/connections.h"
#include "schema/archive/v4/groups.h"
#include "schema/archive/v4/permissions.h"
#include "schema/archive/v4/projects.h"
#include "schema/archive/v4/roles.h"
#include "schema/archive/v4/sessions.h"
#include "schema/archive/v4/system.h"
#include "schema/archive/v4/users.h"
#include "schema/archive/v4/users_roles.h"

namespace schema::archive::v4 {
namespace {

template <typename Defs>
const Defs kDefs{};

const entity::Entity* const kV4Entities[] = {
    &kDefs<system::Defs>,      &kDefs<users::Defs>,       &kDefs<groups::Defs>,  &kDefs<projects::Defs>,
    &kDefs<connections::Defs>, &kDefs<collections::Defs>, &kDefs<roles::Defs>,   &kDefs<users_roles::Defs>,
    &kDefs<sessions::Defs>,    &kDefs<permissions::Defs>, &kDefs<bundles::Defs>,
};

}  // namespace

std::span<const entity::Entity* const> v4_entities() { return kV4Entities; }

}  // namespace schema::archive::v4

#pragma once
// The frozen version-4 schema's entities in creation order; the version step
// to 5 reads its table definitions.

#include <span>

#include "schema/entity.h"

namespace schema::archive::v4 {

std::span<const entity::Entity* const> v4_entities();

}  // namespace schema::archive::v4

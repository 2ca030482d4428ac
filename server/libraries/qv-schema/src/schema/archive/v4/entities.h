#pragma once
// The frozen version-4 schema's entities in creation order.

#include <span>

#include "schema/entity.h"

namespace schema::archive::v4 {

// The step to version 5 reads the identifier columns of these tables.
std::span<const entity::Entity* const> v4_entities();

}  // namespace schema::archive::v4

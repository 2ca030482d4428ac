#pragma once
// The current schema's entities in creation order.

#include <span>

#include "schema/entity.h"

namespace schema::current {

// Every list operation of the current source walks these in order.
std::span<const entity::Entity* const> current_entities();

}  // namespace schema::current

#pragma once
// Identifiers in double quotes for the hand-written index and statistics
// texts, quoted the way the builder quotes them.

#include <string>
#include <vector>

#include "sqlbuilder/iden.h"

namespace schema::sql::quote {

std::string quoted(const sqlbuilder::Iden& iden);
// "a", "b"
std::string quoted_list(const std::vector<sqlbuilder::Iden>& idens);

}  // namespace schema::sql::quote

#pragma once

// Expressions about the session itself: its role and its settings.

#include <string>

#include "sqlbuilder/expr.h"

namespace sea_query::catalog {

// The bare keyword current_user; binds nothing.
sqlbuilder::Expr current_user();

// current_setting($n) with the setting's name bound as text. The
// one-argument form: a setting the session does not define is an error.
sqlbuilder::Expr current_setting(std::string name);

}  // namespace sea_query::catalog

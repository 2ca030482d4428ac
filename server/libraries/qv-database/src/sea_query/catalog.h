#pragma once

// Expressions about the session itself: its role and its settings.

#include <string>

#include "sqlbuilder/expr.h"

namespace sea_query::catalog {

// The bare keywords current_user and session_user; they bind nothing.
sqlbuilder::Expr current_user();
sqlbuilder::Expr session_user();

// current_setting($n) with the setting's name bound as text. The
// one-argument form: a setting the session does not define is an error.
sqlbuilder::Expr current_setting(std::string name);

}  // namespace sea_query::catalog

#pragma once
// Rendering of builder statements for the catalog (values inline as
// literals), the version update, and expression helpers of views.

#include <string>
#include <string_view>

#include "schema/source.h"
#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/render.h"

namespace schema::render {

std::string render_schema(const sqlbuilder::TableCreate& statement);
std::string render_schema(const sqlbuilder::TableAlter& statement);
std::string render_schema(const sqlbuilder::IndexDrop& statement);

std::string render_query(sqlbuilder::Insert statement);
std::string render_query(sqlbuilder::Update statement);
std::string render_query(sqlbuilder::Delete statement);

// UPDATE quorvale_system SET value = '<version>' WHERE name = 'db_version'
std::string update_db_version(source::Version version);

// COALESCE(<name table>.<name column>, '[' || <id table>.<id column> || ']')
sqlbuilder::Expr name_or_id(const sqlbuilder::Iden& name_table, const sqlbuilder::Iden& name_column,
                            const sqlbuilder::Iden& id_table, const sqlbuilder::Iden& id_column);

// COALESCE(jsonb_object_agg(<key>, <value>), '{}'::jsonb)
std::string json_object_agg(std::string_view key, std::string_view value);

}  // namespace schema::render

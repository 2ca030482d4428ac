#include "schema/archive/v4/entities.h"

#include "schema/archive/v4/bundles.h"
#include "schema/archive/v4/collections.h"
#include "schema/archive/v4/connections.h"
#include "schema/archive/v4/dependencies.h"
#include "schema/archive/v4/executions.h"
#include "schema/archive/v4/function_patches.h"
#include "schema/archive/v4/function_versions.h"
#include "schema/archive/v4/functions.h"
#include "schema/archive/v4/groups.h"
#include "schema/archive/v4/logical_function_run_inputs.h"
#include "schema/archive/v4/logical_function_runs.h"
#include "schema/archive/v4/logical_table_data_versions.h"
#include "schema/archive/v4/permissions.h"
#include "schema/archive/v4/physical_function_runs.h"
#include "schema/archive/v4/physical_table_data_versions.h"
#include "schema/archive/v4/projects.h"
#include "schema/archive/v4/roles.h"
#include "schema/archive/v4/sessions.h"
#include "schema/archive/v4/system.h"
#include "schema/archive/v4/table_partitions.h"
#include "schema/archive/v4/tables.h"
#include "schema/archive/v4/transactions.h"
#include "schema/archive/v4/triggers.h"
#include "schema/archive/v4/users.h"
#include "schema/archive/v4/users_roles.h"
#include "schema/archive/v4/with_status_views.h"
#include "schema/archive/v4/workers.h"

namespace schema::archive::v4 {
namespace {

template <typename Defs>
const Defs kDefs{};

// The creation order of the schema: a module comes after every module its
// foreign keys, views and seeds refer to.
const entity::Entity* const kV4Entities[] = {
    &kDefs<system::Defs>,
    &kDefs<users::Defs>,
    &kDefs<groups::Defs>,
    &kDefs<projects::Defs>,
    &kDefs<connections::Defs>,
    &kDefs<collections::Defs>,
    &kDefs<roles::Defs>,
    &kDefs<users_roles::Defs>,
    &kDefs<sessions::Defs>,
    &kDefs<permissions::Defs>,
    &kDefs<bundles::Defs>,
    &kDefs<functions::Defs>,
    &kDefs<function_patches::Defs>,
    &kDefs<function_versions::Defs>,
    &kDefs<tables::Defs>,
    &kDefs<dependencies::Defs>,
    &kDefs<triggers::Defs>,
    &kDefs<executions::Defs>,
    &kDefs<transactions::Defs>,
    &kDefs<logical_function_runs::Defs>,
    &kDefs<logical_table_data_versions::Defs>,
    &kDefs<physical_function_runs::Defs>,
    &kDefs<physical_table_data_versions::Defs>,
    &kDefs<table_partitions::Defs>,
    &kDefs<workers::Defs>,
    &kDefs<logical_function_run_inputs::Defs>,
    &kDefs<with_status_views::Defs>,
};

}  // namespace

std::span<const entity::Entity* const> v4_entities() { return kV4Entities; }

}  // namespace schema::archive::v4

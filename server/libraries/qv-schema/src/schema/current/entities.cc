#include "schema/current/entities.h"

#include "schema/current/bundles.h"
#include "schema/current/collections.h"
#include "schema/current/connections.h"
#include "schema/current/dependencies.h"
#include "schema/current/executions.h"
#include "schema/current/function_patches.h"
#include "schema/current/function_versions.h"
#include "schema/current/functions.h"
#include "schema/current/groups.h"
#include "schema/current/logical_function_run_inputs.h"
#include "schema/current/logical_function_runs.h"
#include "schema/current/logical_table_data_versions.h"
#include "schema/current/metrics_facts.h"
#include "schema/current/permissions.h"
#include "schema/current/physical_function_runs.h"
#include "schema/current/physical_table_data_versions.h"
#include "schema/current/projects.h"
#include "schema/current/roles.h"
#include "schema/current/service_tokens.h"
#include "schema/current/sessions.h"
#include "schema/current/system.h"
#include "schema/current/table_partitions.h"
#include "schema/current/tables.h"
#include "schema/current/transactions.h"
#include "schema/current/triggers.h"
#include "schema/current/users.h"
#include "schema/current/users_roles.h"
#include "schema/current/workers.h"

namespace schema::current {
namespace {

template <typename Defs>
const Defs kDefs{};

// The creation order of the schema: a module comes after every module its
// foreign keys, views and seeds refer to.
const entity::Entity* const kCurrentEntities[] = {
    &kDefs<system::Defs>,
    &kDefs<users::Defs>,
    &kDefs<service_tokens::Defs>,
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
    &kDefs<metrics_facts::Defs>,
};

}  // namespace

std::span<const entity::Entity* const> current_entities() { return kCurrentEntities; }

}  // namespace schema::current

// The start-up registrations of the data-access records, in their fixed order.
// They sit in one translation unit because the order of static constructors
// is defined only within one; the library is an object library, so a program
// that links it keeps them although nothing calls this file.

#include "dao_registry/dao_projection.h"
#include "dao_registry/registered_dao.h"
#include "dxo/auth.h"
#include "dxo/bundle.h"
#include "dxo/collection.h"
#include "dxo/connection.h"
#include "dxo/dependency.h"
#include "dxo/execution.h"
#include "dxo/function.h"
#include "dxo/group.h"
#include "dxo/logical.h"
#include "dxo/metrics_facts.h"
#include "dxo/permission.h"
#include "dxo/physical_function_run.h"
#include "dxo/physical_table_data_version.h"
#include "dxo/project.h"
#include "dxo/role.h"
#include "dxo/service_token.h"
#include "dxo/table.h"
#include "dxo/transaction.h"
#include "dxo/trigger.h"
#include "dxo/user.h"
#include "dxo/user_role.h"
#include "dxo/worker.h"

namespace dxo {
namespace {

using dao_registry::dao_projection;
using dao_registry::DaoRegistration;
using dao_registry::scoped_dao_projection;

// Array elements are constructed in order, so a walk meets the last first.
const DaoRegistration kRegistrations[] = {
    DaoRegistration{{&scoped_dao_projection<collection::ActiveCollectionDB>}},
    DaoRegistration{{&scoped_dao_projection<collection::ResolvedCollectionDB>}},
    DaoRegistration{{&scoped_dao_projection<collection::ActiveCollectionDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<collection::CollectionDB>}},
    DaoRegistration{{&scoped_dao_projection<connection::ConnectionDB>}},
    DaoRegistration{{&scoped_dao_projection<dependency::DependencyDB>}},
    DaoRegistration{{&scoped_dao_projection<dependency::DependencyDBWithNames>}},
    DaoRegistration{{&dao_projection<permission::PermissionDB>}},
    DaoRegistration{{&dao_projection<permission::PermissionDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<transaction::TransactionDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<transaction::TransactionDB>}},
    DaoRegistration{{&scoped_dao_projection<metrics_facts::MetricsFactDB>}},
    DaoRegistration{{&dao_projection<service_token::ServiceTokenDB>}},
    DaoRegistration{{&dao_projection<service_token::ServiceTokenDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<physical_function_run::PhysicalFunctionRunDB>}},
    DaoRegistration{{&scoped_dao_projection<physical_function_run::PhysicalFunctionRunDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<physical_table_data_version::PhysicalTableDataVersionDB>}},
    DaoRegistration{{&scoped_dao_projection<physical_table_data_version::PhysicalTableDataVersionDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<physical_table_data_version::PhysicalTableDataVersionDBWithFunction>}},
    DaoRegistration{{&dao_projection<auth::SessionDB>}},
    DaoRegistration{{&dao_projection<auth::SessionDBWithNames>}},
    DaoRegistration{{&dao_projection<role::RoleDB>}},
    DaoRegistration{{&dao_projection<role::RoleDBWithNames>}},
    DaoRegistration{{&dao_projection<user::UserDB>}},
    DaoRegistration{{&dao_projection<user::UserDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<group::GroupDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<group::GroupDB>}},
    DaoRegistration{{&scoped_dao_projection<table::TableDB>}},
    DaoRegistration{{&scoped_dao_projection<table::TableDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<bundle::BundleDB>}},
    DaoRegistration{{&scoped_dao_projection<worker::WorkerDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<worker::WorkerDB>}},
    DaoRegistration{{&scoped_dao_projection<logical::LogicalFunctionRunDB>}},
    DaoRegistration{{&scoped_dao_projection<logical::FunctionRunDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<logical::LogicalTableDataVersionDB>}},
    DaoRegistration{{&scoped_dao_projection<logical::ActiveLogicalTableDataVersionDB>}},
    DaoRegistration{{&scoped_dao_projection<logical::TableDataVersionDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<logical::LogicalFunctionRunInputDB>}},
    DaoRegistration{{&dao_projection<project::ActiveProjectDB>}},
    DaoRegistration{{&dao_projection<project::ProjectDB>}},
    DaoRegistration{{&dao_projection<project::ActiveProjectDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<trigger::TriggerDB>}},
    DaoRegistration{{&scoped_dao_projection<trigger::TriggerDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<function::FunctionDB>}},
    DaoRegistration{{&scoped_dao_projection<function::FunctionPatchDB>}},
    DaoRegistration{{&scoped_dao_projection<function::FunctionPatchDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<function::FunctionDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<function::FunctionVersionDBWithNames>}},
    DaoRegistration{{&scoped_dao_projection<execution::ExecutionDB>}},
    DaoRegistration{{&scoped_dao_projection<execution::ExecutionDBWithNames>}},
    DaoRegistration{{&dao_projection<user_role::UserRoleDB>}},
    DaoRegistration{{&dao_projection<user_role::UserRoleDBWithNames>}},
};

}  // namespace
}  // namespace dxo

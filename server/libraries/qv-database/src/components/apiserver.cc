#include "components/apiserver.h"

#include <array>

#include "components/admin_pool.h"
#include "components/provision.h"
#include "components/upgrade.h"
#include "pool/serving.h"
#include "schema/current/source.h"

namespace components::apiserver {
namespace {

using component::Outcome;
using component::Pending;

constexpr std::array<std::uint8_t, 2> kPools = {0, 1};

// The five steps of the state check, the first failure ending it. The
// posture comes first: the system table is the owner's, and what stands in
// its place (a view over the owner's function) runs as the serving login, so
// nothing of it is read before that login is known to hold no power beyond
// serving.
Outcome check_state(const pool::serving::QvPool& pool, schema::source::Version build) {
  QV_RETURN_IF_ERROR(pool.check_rls_posture());
  QV_RETURN_IF_ERROR(pool.check_quorvale_version());
  QV_RETURN_IF_ERROR(pool.check_db_version(build));
  QV_RETURN_IF_ERROR(pool.check_quorvale_edition());
  return pool.check_pg_min_version();
}

}  // namespace

const ApiserverComponent kApiserverComponent;

std::span<const std::uint8_t> ApiserverComponent::pools() const { return kPools; }

std::unique_ptr<schema::source::SchemaSource> ApiserverComponent::schema_source() const {
  return std::make_unique<schema::current::Source>();
}

Pending ApiserverComponent::provision(const admin_pool::AdminPool& pool,
                                      const provision::ProvisionRequest& request) const {
  return Pending([&pool, &request] { return pool.provision_schema(request); });
}

Pending ApiserverComponent::preflight(const admin_pool::AdminPool& pool) const {
  return Pending([&pool]() -> Outcome {
    QV_RETURN_IF_ERROR(pool.check_pg_min_version());
    return pool.check_upgrader_permissions();
  });
}

Pending ApiserverComponent::upgrade(upgrade::UpgradeTransaction& transaction) const {
  return Pending([this, &transaction] { return upgrade::run_upgrade(transaction, *schema_source()); });
}

Pending ApiserverComponent::check(const pool::serving::QvPool& pool) const {
  return Pending([this, &pool] { return check_state(pool, schema_source()->current_version()); });
}

Pending ApiserverComponent::seed(const admin_pool::AdminPool&) const { return Pending::ready({}); }

}  // namespace components::apiserver

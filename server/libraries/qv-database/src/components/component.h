#pragma once

// A schema component: the unit that owns one PostgreSQL schema of the
// platform, with the life-cycle operations a deployment runs against a
// database. Components announce themselves through start-up registrations in
// the component registry, complete before main runs.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "error/db_error.h"
#include "result.h"
#include "schema/source.h"
#include "startup_registry.h"
#include "task.h"

namespace components::admin_pool {
class AdminPool;
}
namespace components::provision {
struct ProvisionRequest;
}
namespace components::upgrade {
class UpgradeTransaction;
}
namespace pool::serving {
class QvPool;
}

namespace components::component {

using Outcome = qv_common::Result<void, error::DbError>;
// The pending result of an operation: nothing runs until it is awaited.
using Pending = qv_common::Task<Outcome>;

class SchemaComponent {
 public:
  virtual ~SchemaComponent() = default;

  virtual std::string_view key() const = 0;
  virtual std::string_view default_schema() const = 0;
  virtual std::span<const std::uint8_t> pools() const = 0;
  virtual std::unique_ptr<schema::source::SchemaSource> schema_source() const = 0;

  // The operations hold the references they are given until awaited.
  virtual Pending provision(const admin_pool::AdminPool& pool,
                            const provision::ProvisionRequest& request) const = 0;
  virtual Pending preflight(const admin_pool::AdminPool& pool) const = 0;
  virtual Pending upgrade(upgrade::UpgradeTransaction& transaction) const = 0;
  virtual Pending check(const pool::serving::QvPool& pool) const = 0;
  virtual Pending seed(const admin_pool::AdminPool& pool) const = 0;
};

struct ComponentRegistration {
  using Registry = qv_common::startup_registry::StartupRegistry<ComponentRegistration>;

  const SchemaComponent* component;

  static void submit(Registry::Node& node);
};

using ComponentRegistry = ComponentRegistration::Registry;

// A start-up registration of one component; define it at namespace scope.
using ComponentStartupRegistration = qv_common::startup_registry::Registration<ComponentRegistration>;

// The process-wide registry; read-only once main runs.
const ComponentRegistry& registry();

}  // namespace components::component

#pragma once

// The API server's schema component: the current catalog, provisioned,
// checked before and after an upgrade, and upgraded inside the caller's
// transaction.

#include "components/component.h"

namespace components::apiserver {

class ApiserverComponent final : public component::SchemaComponent {
 public:
  std::string_view key() const override { return "apiserver"; }
  std::string_view default_schema() const override { return "qv_apiserver"; }
  std::span<const std::uint8_t> pools() const override;
  std::unique_ptr<schema::source::SchemaSource> schema_source() const override;

  component::Pending provision(const admin_pool::AdminPool& pool,
                               const provision::ProvisionRequest& request) const override;
  component::Pending preflight(const admin_pool::AdminPool& pool) const override;
  component::Pending upgrade(upgrade::UpgradeTransaction& transaction) const override;
  component::Pending check(const pool::serving::QvPool& pool) const override;
  // The seed rows are part of the install: nothing to do.
  component::Pending seed(const admin_pool::AdminPool& pool) const override;
};

// The single component value that the start-up registration refers to.
extern const ApiserverComponent kApiserverComponent;

}  // namespace components::apiserver

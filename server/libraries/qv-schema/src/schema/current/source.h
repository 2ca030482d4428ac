#pragma once
// The current schema version as a SchemaSource.

#include "schema/source.h"

namespace schema::current {

inline constexpr source::Version kCurrentVersion = 13;

class Source final : public source::SchemaSource {
 public:
  source::Version current_version() const override { return kCurrentVersion; }
  std::vector<std::string> tables() const override;
  std::vector<source::Derived> triggers() const override;
  std::vector<source::Derived> views() const override;
  std::vector<source::Derived> indexes() const override;
  std::vector<source::Derived> statistics() const override;
  std::vector<std::string> seeds() const override;
  std::vector<std::string> rls() const override;
  qv_common::Result<source::Delta, std::string> delta(source::Version target) const override;
};

}  // namespace schema::current

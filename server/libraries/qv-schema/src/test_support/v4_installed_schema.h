#pragma once

// A test database with the frozen version-4 schema installed as a version-4
// database held it, row-level security and "db_version" '4' included; set up
// like InstalledSchemaFixture.

#include <string>
#include <vector>

#include "test_support/installed_schema.h"

namespace schema::test_support {

class V4InstalledSchemaFixture : public InstalledSchemaFixture {
 protected:
  std::vector<std::string> install_texts() const override;
};

}  // namespace schema::test_support

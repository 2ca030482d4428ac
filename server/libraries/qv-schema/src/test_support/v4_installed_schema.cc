#include "test_support/v4_installed_schema.h"

#include "schema/archive/v4/baseline.h"

namespace schema::test_support {

std::vector<std::string> V4InstalledSchemaFixture::install_texts() const { return archive::v4::v4_install_texts(); }

}  // namespace schema::test_support

#include "schema/sql/partial_index.h"

#include <gtest/gtest.h>

namespace schema::sql::partial_index {
namespace {

TEST(PartialIndexDef, QuotesNameTableAndColumnsAndKeepsTheCondition) {
  const PartialIndexDef index{"t___a__b___idx", "t", {"a", "b"}, "valid_to = 'infinity'"};
  const source::Derived derived = index.derived();
  EXPECT_EQ(derived.create, std::vector<std::string>{
                                "CREATE INDEX \"t___a__b___idx\" ON \"t\" (\"a\", \"b\") WHERE valid_to = 'infinity'"});
  EXPECT_EQ(derived.drop, std::vector<std::string>{"DROP INDEX IF EXISTS \"t___a__b___idx\""});
}

}  // namespace
}  // namespace schema::sql::partial_index

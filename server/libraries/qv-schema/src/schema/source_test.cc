#include "schema/source.h"

#include <gtest/gtest.h>

namespace schema::source {
namespace {

TEST(IndexDerived, CreatesWithTheBuilderAndDropsByQuotedName) {
  sqlbuilder::IndexCreate index;
  index.name("users___name___idx").table("users").col("name");
  const Derived derived = index_derived(index);
  EXPECT_EQ(derived.create, std::vector<std::string>{"CREATE INDEX \"users___name___idx\" ON \"users\" (\"name\")"});
  EXPECT_EQ(derived.drop, std::vector<std::string>{"DROP INDEX IF EXISTS \"users___name___idx\""});
}

TEST(IndexDerivedDeathTest, StopsOnAnUnnamedIndex) {
  sqlbuilder::IndexCreate index;
  index.table("users").col("name");
  EXPECT_DEATH(index_derived(index), "every index is named");
}

// A source whose derived lists are given by the test; the object "x" of a
// list creates with "x+" and drops with "x-1", "x-2".
class ListSource final : public SchemaSource {
 public:
  ListSource(std::vector<std::string> triggers, std::vector<std::string> views, std::vector<std::string> indexes,
             std::vector<std::string> statistics)
      : triggers_(objects(triggers)),
        views_(objects(views)),
        indexes_(objects(indexes)),
        statistics_(objects(statistics)) {}

  Version current_version() const override { return 1; }
  std::vector<std::string> tables() const override { return {}; }
  std::vector<Derived> triggers() const override { return triggers_; }
  std::vector<Derived> views() const override { return views_; }
  std::vector<Derived> indexes() const override { return indexes_; }
  std::vector<Derived> statistics() const override { return statistics_; }
  std::vector<std::string> seeds() const override { return {}; }
  std::vector<std::string> rls() const override { return {}; }
  qv_common::Result<Delta, std::string> delta(Version) const override { return Delta{}; }

 private:
  static std::vector<Derived> objects(const std::vector<std::string>& names) {
    std::vector<Derived> result;
    for (const std::string& name : names) result.push_back({{name + "+"}, {name + "-1", name + "-2"}});
    return result;
  }

  std::vector<Derived> triggers_, views_, indexes_, statistics_;
};

TEST(DerivedScripts, DropsLastFirstAndCreatesFirstFirst) {
  const ListSource source({"t1", "t2"}, {"v1", "v2"}, {"i1", "i2"}, {"s1", "s2"});
  const DerivedScripts scripts = derived_scripts(source);
  EXPECT_EQ(scripts.drops, (std::vector<std::string>{"v2-1", "v2-2", "v1-1", "v1-2", "t2-1", "t2-2", "t1-1", "t1-2",
                                                     "i2-1", "i2-2", "i1-1", "i1-2", "s2-1", "s2-2", "s1-1", "s1-2"}));
  EXPECT_EQ(scripts.creates, (std::vector<std::string>{"i1+", "i2+", "s1+", "s2+", "t1+", "t2+", "v1+", "v2+"}));
}

TEST(DerivedScripts, EmptyListsGiveEmptyScripts) {
  const ListSource source({}, {"v"}, {}, {});
  const DerivedScripts scripts = derived_scripts(source);
  EXPECT_EQ(scripts.drops, (std::vector<std::string>{"v-1", "v-2"}));
  EXPECT_EQ(scripts.creates, std::vector<std::string>{"v+"});
}

}  // namespace
}  // namespace schema::source

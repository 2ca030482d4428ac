#include "runtime/instance/profile/bundle.h"

#include <gtest/gtest.h>

namespace runtime::instance::profile::bundle {
namespace {

using Qualifiers = std::vector<std::string>;

TEST(ParseFilename, WorkedExamples) {
  struct Case {
    std::string_view name;
    std::string_view base;
    Qualifiers qualifiers;
    std::string_view suffix;
    std::string_view stripped;
  };
  const Case cases[] = {
      {"deploy.yaml", "deploy", {}, ".yaml", "deploy.yaml"},
      {"deploy_eks.yaml", "deploy", {"eks"}, ".yaml", "deploy.yaml"},
      {"deploy_eks_aks.yaml", "deploy", {"eks", "aks"}, ".yaml", "deploy.yaml"},
      {"config.beta_gke.yaml", "config.beta", {"gke"}, ".yaml", "config.beta.yaml"},
      {"a.b_c_d.e.f", "a.b", {"c", "d"}, ".e.f", "a.b.e.f"},
      {"a.b_c.d_e", "a.b", {"c"}, ".d_e", "a.b.d_e"},
      {"app.conf_aks", "app.conf", {"aks"}, "", "app.conf"},
      {"README", "README", {}, "", "README"},
      {"a_", "a", {""}, "", "a"},
      {"_eks.yaml", "", {"eks"}, ".yaml", ".yaml"},
      {".hidden", "", {}, ".hidden", ".hidden"},
      {"a..b_c", "a..b", {"c"}, "", "a..b"},
      {"x.schema_eks.yaml", "x.schema", {"eks"}, ".yaml", "x.schema.yaml"},
  };
  for (const Case& c : cases) {
    const ParsedFileName parsed = parse_filename(c.name);
    EXPECT_EQ(parsed.base, c.base) << c.name;
    EXPECT_EQ(parsed.qualifiers, c.qualifiers) << c.name;
    EXPECT_EQ(parsed.suffix, c.suffix) << c.name;
    EXPECT_EQ(parsed.render_stripped(), c.stripped) << c.name;
  }
}

TEST(ParseFilename, EmptyAndUnderscoreOnlyNames) {
  const ParsedFileName empty = parse_filename("");
  EXPECT_EQ(empty.render_stripped(), "");
  EXPECT_TRUE(empty.qualifiers.empty());

  const ParsedFileName underscores = parse_filename("__");
  EXPECT_EQ(underscores.base, "");
  EXPECT_EQ(underscores.qualifiers, (Qualifiers{"", ""}));
}

TEST(PickWinner, Rules) {
  struct Case {
    std::vector<std::string_view> names;
    std::string_view wanted;
    std::optional<std::size_t> winner;
  };
  const Case cases[] = {
      {{}, "eks", std::nullopt},
      {{"deploy_gke.yaml", "deploy_eks.yaml"}, "eks", 1},
      {{"deploy.yaml", "deploy_eks.yaml"}, "eks", 1},
      {{"deploy_eks.yaml", "deploy.yaml"}, "eks", 0},
      {{"deploy.yaml", "deploy_eks.yaml"}, "gke", 0},
      {{"deploy_eks_gke.yaml"}, "eks", std::nullopt},
      {{"deploy_eks_gke.yaml", "deploy.yaml"}, "gke", 1},
      {{"deploy_EKS.yaml"}, "eks", std::nullopt},
      {{"app_eks.yamls", "app.schema_eks.yaml"}, "eks", 0},  // equal rank: first wins
      {{"app.yaml", "app.yaml"}, "eks", 0},
      {{"a_"}, "eks", std::nullopt},
  };
  for (const Case& c : cases) {
    std::vector<ParsedFileName> candidates;
    for (std::string_view name : c.names) candidates.push_back(parse_filename(name));
    const std::string_view wanted[] = {c.wanted};
    EXPECT_EQ(pick_winner(candidates, wanted), c.winner) << c.wanted << " among " << c.names.size();
  }
}

}  // namespace
}  // namespace runtime::instance::profile::bundle

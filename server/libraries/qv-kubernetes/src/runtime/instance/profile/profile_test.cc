#include "runtime/instance/profile/profile.h"

#include <gtest/gtest.h>

#include "test_support/temp_folder.h"

namespace runtime::instance::profile {
namespace {

using runtime::provider::ClusterProvider;
using Contents = std::map<std::string, std::string>;

// A kprofile with the three (empty) family folders.
class ProfileTest : public ::testing::Test {
 protected:
  ProfileTest() {
    for (const char* family : {"pods", "assets", "configs"}) root_.make_folder(family);
  }

  qv_common::Result<Profile, base::error::ProfileError> load(ClusterProvider provider) const {
    return load_profile_from(root_.path(), provider, "1.2.3");
  }

  Profile load_ok(ClusterProvider provider) const {
    auto profile = load(provider);
    EXPECT_TRUE(profile.has_value()) << profile.error().message();
    return profile.has_value() ? std::move(*profile) : Profile{};
  }

  base::error::ProfileError load_error(ClusterProvider provider) const {
    auto profile = load(provider);
    EXPECT_FALSE(profile.has_value());
    return std::move(profile).error();
  }

  test_support::TempFolder root_;
};

int code_of(const base::error::ProfileError& error) { return static_cast<int>(error.code()); }

TEST_F(ProfileTest, ProviderVariantBeatsPlainFile) {
  root_.write("pods/deploy.yaml", "plain");
  root_.write("pods/deploy_eks.yaml", "eks");

  const Profile eks = load_ok(ClusterProvider::kEks);
  EXPECT_EQ(eks.pods, (Contents{{"deploy.yaml", "eks"}}));
  ASSERT_EQ(eks.manifest.count("pods/deploy.yaml"), 1u);
  EXPECT_EQ(eks.manifest.at("pods/deploy.yaml").source, "pods/deploy_eks.yaml");

  const Profile gke = load_ok(ClusterProvider::kGke);
  EXPECT_EQ(gke.pods, (Contents{{"deploy.yaml", "plain"}}));
  EXPECT_EQ(gke.manifest.at("pods/deploy.yaml").source, "pods/deploy.yaml");
}

TEST_F(ProfileTest, ProfileAndManifestRecords) {
  root_.write("pods/deploy.yaml", "p");
  root_.write("assets/logo.svg", "a");
  root_.write("configs/app_aks.yaml", "c");

  const Profile profile = load_ok(ClusterProvider::kAks);
  EXPECT_EQ(profile.version, "1.2.3");
  EXPECT_EQ(profile.revision, 1u);
  EXPECT_EQ(profile.created_at, profile.updated_at);
  EXPECT_EQ(profile.pods, (Contents{{"deploy.yaml", "p"}}));
  EXPECT_EQ(profile.assets, (Contents{{"logo.svg", "a"}}));
  EXPECT_EQ(profile.configs, (Contents{{"app.yaml", "c"}}));

  std::vector<std::string> keys;
  for (const auto& [key, entry] : profile.manifest) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"assets/logo.svg", "configs/app.yaml", "pods/deploy.yaml"}));

  const manifest::ManifestEntry& entry = profile.manifest.at("configs/app.yaml");
  EXPECT_EQ(entry.version, "1.2.3");
  EXPECT_EQ(entry.source, "configs/app_aks.yaml");
  EXPECT_EQ(entry.loaded_at, profile.created_at);
  EXPECT_FALSE(entry.modified);
  ASSERT_EQ(entry.stamps.size(), 1u);
  EXPECT_EQ(entry.stamps[0].version, "1.2.3");
  EXPECT_EQ(entry.stamps[0].stamped_at, profile.created_at);
  EXPECT_TRUE(entry.stamps[0].applied);
}

TEST_F(ProfileTest, OtherProvidersOnlyAndMultiQualifierVariantsYieldNothing) {
  root_.write("pods/deploy_eks.yaml", "eks");
  root_.write("pods/svc_eks_gke.yaml", "both");
  for (ClusterProvider provider : {ClusterProvider::kGke, ClusterProvider::kEks}) {
    const Profile profile = load_ok(provider);
    EXPECT_EQ(profile.pods.count("svc.yaml"), 0u);
  }
  EXPECT_TRUE(load_ok(ClusterProvider::kGke).pods.empty());
  EXPECT_TRUE(load_ok(ClusterProvider::kGke).manifest.empty());
}

TEST_F(ProfileTest, SchemaFilesAreKeyedYamls) {
  root_.write("configs/app.schema.yaml", "plain schema");
  root_.write("configs/app.schema_aks.yaml", "aks schema");

  EXPECT_EQ(load_ok(ClusterProvider::kEks).configs, (Contents{{"app.yamls", "plain schema"}}));
  const Profile aks = load_ok(ClusterProvider::kAks);
  EXPECT_EQ(aks.configs, (Contents{{"app.yamls", "aks schema"}}));
  EXPECT_EQ(aks.manifest.at("configs/app.yamls").source, "configs/app.schema_aks.yaml");
}

TEST(LoadProfile, PickedNameWithForbiddenCharactersFails) {
  struct Case {
    std::string_view file;
    ClusterProvider provider;
    std::string_view message;
  };
  const Case cases[] = {
      {"bad name.yaml", ClusterProvider::kGke,
       "Path component 'bad name.yaml' in 'pods' contains characters not allowed in a profile path."},
      {"a.b_eks.c_d", ClusterProvider::kEks,
       "Path component 'a.b.c_d' in 'pods' contains characters not allowed in a profile path."},
      {"_eks..", ClusterProvider::kEks,
       "Path component '..' in 'pods' contains characters not allowed in a profile path."},
  };
  for (const Case& c : cases) {
    test_support::TempFolder root;
    for (const char* family : {"pods", "assets", "configs"}) root.make_folder(family);
    root.write(std::filesystem::path("pods") / c.file, "x");
    const auto profile = load_profile_from(root.path(), c.provider, "1");
    ASSERT_FALSE(profile.has_value()) << c.file;
    EXPECT_EQ(code_of(profile.error()), 1) << c.file;
    EXPECT_EQ(profile.error().message(), c.message);
  }
}

TEST_F(ProfileTest, BadNameThatIsNotPickedIsHarmless) {
  root_.write("pods/a.b_eks.c_d", "x");
  EXPECT_TRUE(load_ok(ClusterProvider::kGke).pods.empty());
}

TEST_F(ProfileTest, IgnoredEntries) {
  root_.write("pods/.bad name.yaml", "hidden");
  root_.make_folder("pods/__pycache__");
  root_.make_folder("pods/.cache");
  root_.write("pods/mod.pyc", "\xff");
  root_.write("pods/mod.pyo", "\xff");
  root_.write("pods/mod.PYC", "kept");
  root_.write("pods/bad\xff.yaml", "\xff");
  root_.write("assets/target.yaml", "target");
  std::filesystem::create_symlink(root_.path() / "assets/target.yaml", root_.path() / "pods/link.yaml");
  std::filesystem::create_symlink(root_.path() / "assets", root_.path() / "pods/linked-folder");

  EXPECT_EQ(load_ok(ClusterProvider::kEks).pods, (Contents{{"mod.PYC", "kept"}}));
}

TEST_F(ProfileTest, SubfolderMakesFamilyNotFlat) {
  root_.make_folder("configs/nested");
  const base::error::ProfileError error = load_error(ClusterProvider::kEks);
  EXPECT_EQ(code_of(error), 4);
  EXPECT_EQ(error.message(), "Family folder 'configs' must be flat, but contains the subfolder 'nested'.");
}

TEST_F(ProfileTest, MissingOrNonFolderFamilyFails) {
  std::filesystem::remove(root_.path() / "assets");
  root_.write("pods/deploy.yaml", "p");
  base::error::ProfileError error = load_error(ClusterProvider::kEks);
  EXPECT_EQ(code_of(error), 3);
  EXPECT_EQ(error.message(), "Family folder 'assets' is missing at '" + (root_.path() / "assets").string() + "'.");

  root_.write("assets", "a file");
  EXPECT_EQ(code_of(load_error(ClusterProvider::kEks)), 3);
}

TEST_F(ProfileTest, NonUtf8ContentFailsToRead) {
  const std::filesystem::path file = root_.write("assets/blob.bin", "ok\xff");
  const base::error::ProfileError error = load_error(ClusterProvider::kEks);
  EXPECT_EQ(code_of(error), 5005);
  EXPECT_NE(error.message().find("'" + file.string() + "'"), std::string::npos) << error.message();
}

TEST_F(ProfileTest, LaterGroupWithSameStrippedNameReplacesEarlier) {
  // Group (a, .b.c) sorts before (a.b, .c); both render a.b.c.
  root_.write("pods/a.b_eks.c", "second group");
  root_.write("pods/a_eks.b.c", "first group");

  const Profile profile = load_ok(ClusterProvider::kEks);
  EXPECT_EQ(profile.pods, (Contents{{"a.b.c", "second group"}}));
  EXPECT_EQ(profile.manifest.size(), 1u);
  EXPECT_EQ(profile.manifest.at("pods/a.b.c").source, "pods/a.b_eks.c");
}

}  // namespace
}  // namespace runtime::instance::profile

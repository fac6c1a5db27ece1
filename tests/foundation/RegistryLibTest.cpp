// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "ConfigSandbox.h"
#include "RegistryLib.h"

namespace tessalune {
namespace {

struct JoinCase {
  const char* Label;
  const char* Path;
  const char* SubKey;
  const char* Key;
};

class RegistryAddressJoin : public ::testing::TestWithParam<JoinCase> {};

TEST_P(RegistryAddressJoin, JoinsPathAndSubKey) {
  EXPECT_EQ(TRegistryAddress::JoinKey(GetParam().Path, GetParam().SubKey), GetParam().Key);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryAddressJoin,
    ::testing::Values(
        JoinCase{"projects", "\\Software\\Quembler\\Tessalune", "Projects",
                 "\\Software\\Quembler\\Tessalune\\Projects"},
        JoinCase{"form", "\\Software\\Quembler\\Tessalune", "Forms\\frmMain",
                 "\\Software\\Quembler\\Tessalune\\Forms\\frmMain"},
        JoinCase{"absolute_sub_key", "\\Software\\Quembler\\Tessalune", "\\Other", "\\Other"},
        JoinCase{"path_with_backslash", "\\Software\\", "Projects", "\\Software\\Projects"},
        JoinCase{"empty_sub_key", "\\Software\\Quembler", "", "\\Software\\Quembler"},
        JoinCase{"empty_path", "", "Projects", "\\Projects"},
        JoinCase{"both_empty", "", "", ""}),
    [](const auto& test) { return std::string(test.param.Label); });

TEST(RegistryAddress, StartsAtTheCurrentUserWithAnEmptyPath) {
  TRegistryAddress address;
  EXPECT_EQ(address.Root, hkeyCurrentUser);
  EXPECT_EQ(address.Path, "");
}

TEST(RegistryAddress, OpensTheJoinedKeyBelowItsRootCreatingIt) {
  test::ConfigSandbox config;
  TRegistryAddress address;
  address.Root = hkeyLocalMachine;
  address.Path = "\\Software\\Quembler\\Tessalune";
  auto reg = address.OpenKey("Forms\\frmMain");
  ASSERT_TRUE(reg->HasCurrentKey());
  EXPECT_EQ(reg->RootKey(), hkeyLocalMachine);
  EXPECT_EQ(reg->CurrentPath(), "Software\\Quembler\\Tessalune\\Forms\\frmMain");
  EXPECT_NE(config.StoreText("HKEY_LOCAL_MACHINE")
                .find("[HKEY_LOCAL_MACHINE\\Software\\Quembler\\Tessalune\\Forms\\frmMain]"),
            std::string::npos);
}

TEST(RegistryAddress, AKeyThatCannotBeCreatedStillGivesARegistryObject) {
  test::ConfigSandbox config;
  config.Files().Write("config/tessalune", "not a folder");
  auto reg = OpenRegistry(hkeyCurrentUser, "\\Software\\Quembler");
  ASSERT_NE(reg, nullptr);
  EXPECT_FALSE(reg->HasCurrentKey());
  EXPECT_FALSE(reg->ValueExists("Top"));
}

}  // namespace
}  // namespace tessalune

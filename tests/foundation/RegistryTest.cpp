// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConfigSandbox.h"
#include "Registry.h"

namespace tessalune {
namespace {

using Names = std::vector<std::string>;

class RegistryTest : public ::testing::Test {
protected:
  test::ConfigSandbox config_;
};

// Runs action and answers the message of the ERegistryException it raised.
template <typename Action>
std::string RegistryError(Action action) {
  try {
    action();
  } catch (const ERegistryException& error) {
    return error.what();
  }
  return "no exception";
}

TEST_F(RegistryTest, ANewObjectHasTheCurrentUserRootAndNoKey) {
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), hkeyCurrentUser);
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_FALSE(reg.ValueExists("x"));
  EXPECT_EQ(reg.ReadString("x"), "");
  EXPECT_TRUE(reg.GetValueNames().empty());
  EXPECT_EQ(RegistryError([&] { reg.ReadInteger("x"); }), "Failed to get data for 'x'");
  EXPECT_EQ(RegistryError([&] { reg.WriteString("x", "1"); }), "Failed to set data for 'x'");
  EXPECT_FALSE(reg.DeleteValue("x"));
}

TEST_F(RegistryTest, ReadsAnswerByTypeAndNameTheValueInTheirErrors) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quembler\\Tessalune", true));
  reg.WriteString("Name", "Trip");
  reg.WriteInteger("Width", -745);
  reg.WriteBool("On", true);
  reg.WriteBool("Off", false);
  EXPECT_EQ(reg.ReadString("Name"), "Trip");
  EXPECT_EQ(reg.ReadInteger("Width"), -745);
  EXPECT_EQ(reg.ReadInteger("On"), 1);
  EXPECT_TRUE(reg.ReadBool("On"));
  EXPECT_FALSE(reg.ReadBool("Off"));
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_EQ(RegistryError([&] { reg.ReadInteger("Missing"); }), "Failed to get data for 'Missing'");
  EXPECT_EQ(RegistryError([&] { reg.ReadBool("Missing"); }), "Failed to get data for 'Missing'");
  EXPECT_EQ(RegistryError([&] { reg.ReadInteger("Name"); }), "Invalid data type for 'Name'");
  EXPECT_EQ(RegistryError([&] { reg.ReadString("Width"); }), "Invalid data type for 'Width'");
  EXPECT_NE(config_.StoreText().find("\"On\"=dword:00000001\n\"Off\"=dword:00000000\n"),
            std::string::npos);
}

TEST_F(RegistryTest, ValuesKeepTheirCreationOrderAcrossRewrites) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Projects", true));
    for (const char* name : {"File_000", "file_000", "File_001", "Other"}) reg.WriteString(name, name);
    reg.WriteString("File_000", "again");
    EXPECT_TRUE(reg.DeleteValue("File_001"));
    reg.WriteString("File_001", "new");
    EXPECT_FALSE(reg.DeleteValue("File_009"));
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Projects", false));
  EXPECT_EQ(reg.GetValueNames(), (Names{"File_000", "file_000", "Other", "File_001"}));
  EXPECT_EQ(reg.ReadString("File_000"), "again");
  EXPECT_EQ(reg.ReadString("file_000"), "file_000");
}

TEST_F(RegistryTest, OpeningCreatesTheKeyAndEveryKeyAboveIt) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("\\Software\\Quembler\\Tessalune\\Projects", false));
  EXPECT_FALSE(reg.HasCurrentKey());
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quembler\\Tessalune\\Projects", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Quembler\\Tessalune\\Projects");
  const std::string text = config_.StoreText();
  for (const char* key : {"Software]", "Software\\Quembler]", "Software\\Quembler\\Tessalune]",
                          "Software\\Quembler\\Tessalune\\Projects]"})
    EXPECT_NE(text.find(std::string("[HKEY_CURRENT_USER\\") + key), std::string::npos) << key;
  TRegistry other;
  EXPECT_TRUE(other.OpenKey("\\SOFTWARE\\quembler", false));
}

TEST_F(RegistryTest, ARelativeKeyCountsFromTheCurrentKeyAndABackslashFromTheRoot) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", true));
  ASSERT_TRUE(reg.OpenKey("Quembler", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Quembler");
  ASSERT_TRUE(reg.OpenKey("\\Other", true));
  EXPECT_EQ(reg.CurrentPath(), "Other");
  EXPECT_FALSE(reg.OpenKey("Bad\nName", true));
  EXPECT_EQ(reg.CurrentPath(), "Other");
  reg.CloseKey();
  EXPECT_FALSE(reg.HasCurrentKey());
}

TEST_F(RegistryTest, EachRootHasAStoreOfItsOwn) {
  TRegistry machine;
  machine.SetRootKey(hkeyLocalMachine);
  ASSERT_TRUE(machine.OpenKey("\\Software", true));
  machine.WriteString("Where", "machine");
  TRegistry user;
  EXPECT_FALSE(user.OpenKey("\\Software", false));
  EXPECT_NE(config_.StoreText("HKEY_LOCAL_MACHINE").find("[HKEY_LOCAL_MACHINE\\Software]\n\"Where\""),
            std::string::npos);
  EXPECT_STREQ(RootKeyName(hkeyClassesRoot), "HKEY_CLASSES_ROOT");
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenOpensNoKeyAndFailsItsWrites) {
  config_.Files().Write("config/tessalune", "a file where the folder belongs");
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("\\Software\\Quembler\\Tessalune\\Projects", true));
  EXPECT_EQ(reg.ReadString("File_000"), "");
  EXPECT_EQ(RegistryError([&] { reg.WriteString("File_000", "x"); }),
            "Failed to set data for 'File_000'");
}

}  // namespace
}  // namespace tessalune

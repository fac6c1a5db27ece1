// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRenameFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"

namespace tessalune {
namespace {

class RenameInFolderTest : public ::testing::Test {
protected:
  RenameInFolderTest() {
    sandbox_.Write("a.jpg", "a");
    sandbox_.Write("b.jpg", "b");
  }
  TRenameResult Rename(const std::string& from, const std::string& to, TReplace replace) {
    return RenameInFolder(sandbox_.Path().string() + "/", from, to, replace);
  }
  std::string Bytes(const std::string& name) const { return test::ReadBytes(sandbox_.File(name)); }

  test::Sandbox sandbox_;
};

TEST_F(RenameInFolderTest, ReplacesATakenNameOnlyWhenAsked) {
  EXPECT_EQ(Rename("a.jpg", "b.jpg", TReplace::Never), TRenameResult::NameTaken);
  EXPECT_EQ(Bytes("a.jpg") + Bytes("b.jpg"), "ab");
  EXPECT_EQ(Rename("gone.jpg", "b.jpg", TReplace::Existing), TRenameResult::Refused);
  EXPECT_EQ(Rename("a.jpg", "../a.jpg", TReplace::Existing), TRenameResult::Refused);
  EXPECT_EQ(Rename("a.jpg", "b.jpg", TReplace::Existing), TRenameResult::Renamed);
  EXPECT_EQ(Bytes("b.jpg"), "a");
  EXPECT_FALSE(EntryExists(sandbox_.File("a.jpg")));
}

TEST_F(RenameInFolderTest, TwoSpellingsOfOneNameHaveOneIdentity) {
  std::filesystem::create_directory_symlink(sandbox_.Path(), sandbox_.Path() / "link");
  const auto direct = EntryIdOf(sandbox_.File("a.jpg"));
  ASSERT_TRUE(direct.has_value());
  EXPECT_EQ(EntryIdOf(sandbox_.File("link/a.jpg")), direct);
  EXPECT_NE(EntryIdOf(sandbox_.File("b.jpg")), direct);
  std::filesystem::create_directory(sandbox_.Path() / "sub");
  EXPECT_FALSE(FileEntryExists(sandbox_.File("sub")));
  EXPECT_TRUE(FileEntryExists(sandbox_.File("link/a.jpg")));
}

}  // namespace
}  // namespace tessalune

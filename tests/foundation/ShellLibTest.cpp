// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "ConfigSandbox.h"
#include "ShellLib.h"

namespace tessalune {
namespace {

class ShellLibTest : public ::testing::Test {
protected:
  void WriteUserDirs(const std::string& text) { config_.Files().Write("config/user-dirs.dirs", text); }
  std::string Home() const { return config_.Files().File("home"); }

  test::ConfigSandbox config_;
};

TEST_F(ShellLibTest, TheDocumentsFolderComesFromUserDirsWithHomeExpanded) {
  WriteUserDirs(
      "# This file is written by xdg-user-dirs-update\n"
      "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
      "  XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"/\"\r\n"
      "XDG_PICTURES_DIR=\"/srv/pictures\"\n");
  EXPECT_EQ(GetShellFolder("Personal"), Home() + "/My \"Docs\"");
  EXPECT_EQ(GetShellFolder("Desktop"), Home() + "/Desktop");
  EXPECT_EQ(GetShellFolder("My Pictures"), "/srv/pictures");
  EXPECT_EQ(GetShellFolder("My Music"), "");
  EXPECT_EQ(GetShellFolder("Fonts"), "");
}

struct UserDirsCase {
  const char* Label;
  const char* Text;
  const char* Folder;  // below the home folder when it starts with "~"
};

class ShellLibUserDirs : public ShellLibTest, public ::testing::WithParamInterface<UserDirsCase> {};

TEST_P(ShellLibUserDirs, OnlyAWellFormedEntryNamesTheFolder) {
  WriteUserDirs(GetParam().Text);
  std::string expected = GetParam().Folder;
  if (expected.starts_with("~")) expected = Home() + expected.substr(1);
  EXPECT_EQ(GetShellFolder("Personal"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellLibUserDirs,
    ::testing::Values(
        UserDirsCase{"no_file", "", ""},
        UserDirsCase{"no_entry", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", ""},
        UserDirsCase{"commented", "#XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", ""},
        UserDirsCase{"relative", "XDG_DOCUMENTS_DIR=\"Docs\"\n", ""},
        UserDirsCase{"unquoted", "XDG_DOCUMENTS_DIR=$HOME/Docs\n", ""},
        UserDirsCase{"other_variable", "XDG_DOCUMENTS_DIR=\"$HOMEX/Docs\"\n", ""},
        UserDirsCase{"longer_name", "XDG_DOCUMENTS_DIRS=\"/docs\"\n", ""},
        UserDirsCase{"home_itself", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "~"},
        UserDirsCase{"last_wins", "XDG_DOCUMENTS_DIR=\"/a\"\nXDG_DOCUMENTS_DIR=\"/b\"\n", "/b"},
        UserDirsCase{"bad_later_line_ignored",
                     "XDG_DOCUMENTS_DIR=\"/a\"\nXDG_DOCUMENTS_DIR=\"b\"\n", "/a"}),
    [](const auto& test) { return std::string(test.param.Label); });

TEST_F(ShellLibTest, TheDocumentsFolderIsTheHomeFolderUntilItIsSetUpAndMade) {
  EXPECT_EQ(GetPersonalFolder(), Home());
  WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n");
  EXPECT_EQ(GetPersonalFolder(), Home());
  config_.Files().Write("home/Documents/.keep", "");
  EXPECT_EQ(GetPersonalFolder(), Home() + "/Documents");
}

TEST_F(ShellLibTest, WithoutHomeTheHomeRelativeEntryNamesNothing) {
  WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
  setenv("HOME", "", 1);
  // The password database still names a home folder for the running user.
  EXPECT_EQ(GetShellFolder("Personal"), GetUserHomeFolder().empty() ? "" : GetUserHomeFolder() + "/Docs");
  EXPECT_EQ(GetUserConfigFolder(), config_.Files().File("config"));
}

}  // namespace
}  // namespace tessalune

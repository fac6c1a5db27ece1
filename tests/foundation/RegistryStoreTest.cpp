// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "ConfigSandbox.h"
#include "Registry.h"
#include "RegistryStore.h"

namespace tessalune {
namespace {

namespace fs = std::filesystem;

class RegistryStoreTest : public ::testing::Test {
protected:
  std::string Folder() const { return config_.Files().File("config/tessalune"); }

  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Folder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::ConfigSandbox config_;
};

TEST_F(RegistryStoreTest, TheStoreLivesInTheProgramsFolderOfTheConfigFolder) {
  EXPECT_EQ(TRegistryStore("HKEY_CURRENT_USER").FileName(),
            config_.StoreFile("HKEY_CURRENT_USER"));
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(TRegistryStore("HKEY_CURRENT_USER").FileName(),
            config_.Files().File("home/.config/tessalune/HKEY_CURRENT_USER.reg"));
  setenv("XDG_CONFIG_HOME", "relative/config", 1);
  EXPECT_EQ(TRegistryStore("HKEY_CURRENT_USER").FileName(),
            config_.Files().File("home/.config/tessalune/HKEY_CURRENT_USER.reg"));
}

TEST_F(RegistryStoreTest, ACorruptFileReadsEmptyAndIsKeptAsideBeforeTheNextWrite) {
  const std::string corrupt = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\ngarbage\n";
  config_.WriteStore(corrupt);
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("\\A", false));
  EXPECT_EQ(test::ReadBytes(config_.StoreFile("HKEY_CURRENT_USER")), corrupt);  // a read keeps it
  ASSERT_TRUE(reg.OpenKey("\\A", true));
  reg.WriteString("Fresh", "1");
  EXPECT_EQ(test::ReadBytes(Folder() + "/HKEY_CURRENT_USER.reg.corrupt"), corrupt);
  EXPECT_EQ(config_.StoreText(),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n\"Fresh\"=\"1\"\n");

  config_.WriteStore("second bad file");
  TRegistry again;
  ASSERT_TRUE(again.OpenKey("\\B", true));
  EXPECT_EQ(test::ReadBytes(Folder() + "/HKEY_CURRENT_USER.reg.corrupt"), corrupt);
  EXPECT_EQ(test::ReadBytes(Folder() + "/HKEY_CURRENT_USER.reg.corrupt.1"), "second bad file");
}

TEST_F(RegistryStoreTest, AnUnreadableEntryInTheFilesPlaceIsMovedAsideToo) {
  fs::create_directories(config_.StoreFile("HKEY_CURRENT_USER"));
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\A", true));
  reg.WriteInteger("n", 5);
  EXPECT_TRUE(fs::is_directory(Folder() + "/HKEY_CURRENT_USER.reg.corrupt"));
  TRegistry back;
  ASSERT_TRUE(back.OpenKey("\\A", false));
  EXPECT_EQ(back.ReadInteger("n"), 5);
}

TEST_F(RegistryStoreTest, AWriteLeavesOnlyTheStoreAndItsLockBehind) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\A", true));
  for (int i = 0; i < 5; ++i) reg.WriteInteger("n" + std::to_string(i), i);
  EXPECT_EQ(FolderEntries(),
            (std::vector<std::string>{"HKEY_CURRENT_USER.lock", "HKEY_CURRENT_USER.reg"}));
}

TEST_F(RegistryStoreTest, ALinkedStoreStaysLinked) {
  const std::string target =
      config_.Files().Write("dotfiles/user.reg", "Windows Registry Editor Version 5.00\n");
  fs::create_directories(Folder());
  fs::create_symlink(target, config_.StoreFile("HKEY_CURRENT_USER"));
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\A", true));
  reg.WriteString("n", "1");
  EXPECT_TRUE(fs::is_symlink(config_.StoreFile("HKEY_CURRENT_USER")));
  EXPECT_NE(test::ReadBytes(target).find("\"n\"=\"1\""), std::string::npos);
}

TEST_F(RegistryStoreTest, AWriteTooLargeToReadBackFailsAndKeepsTheStore) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\A", true));
  reg.WriteString("small", "1");
  const std::string before = config_.StoreText();
  EXPECT_THROW(reg.WriteString("huge", std::string(5 * 1024 * 1024, 'x')), ERegistryException);
  EXPECT_EQ(config_.StoreText(), before);
}

// Writes count values prefix0, prefix1, ... one write at a time, as a second
// running program would.
void WriteMany(const std::string& prefix, int count) {
  TRegistry reg;
  if (!reg.OpenKey("\\Software\\Quembler\\Tessalune", true)) _exit(2);
  for (int i = 0; i < count; ++i) reg.WriteInteger(prefix + std::to_string(i), i);
}

TEST_F(RegistryStoreTest, TwoProgramsWritingAtOnceKeepEachOthersValues) {
  constexpr int kCount = 60;
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      char go;
      close(start[1]);
      if (read(start[0], &go, 1) != 0) _exit(3);  // both start when the pipe closes
      try {
        WriteMany(w == 0 ? "A" : "B", kCount);
      } catch (...) {
        _exit(4);
      }
      _exit(0);
    }
  }
  close(start[0]);
  close(start[1]);
  for (const pid_t writer : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quembler\\Tessalune", false));
  EXPECT_EQ(reg.GetValueNames().size(), 2u * kCount);
  for (int i = 0; i < kCount; ++i) {
    EXPECT_EQ(reg.ReadInteger("A" + std::to_string(i)), i);
    EXPECT_EQ(reg.ReadInteger("B" + std::to_string(i)), i);
  }
}

}  // namespace
}  // namespace tessalune

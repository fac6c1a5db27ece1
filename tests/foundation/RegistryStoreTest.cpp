// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ConfigSandbox.h"
#include "Errors.h"
#include "ProcessLimits.h"
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

  // Makes the store's folder take no new file from the writer that
  // RunAsUnprivilegedUser starts, while store and lock stay open to it.
  void CloseFolderToNewFiles() const {
    fs::permissions(config_.Files().Path(), fs::perms(0755));
    fs::permissions(config_.StoreFile("HKEY_CURRENT_USER"), fs::perms(0666));
    fs::permissions(Folder() + "/HKEY_CURRENT_USER.lock", fs::perms(0666));
    fs::permissions(Folder(), fs::perms(0555));
  }

  ~RegistryStoreTest() override {
    std::error_code ignored;
    fs::permissions(Folder(), fs::perms(0755), ignored);  // so that the sandbox goes
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

TEST_F(RegistryStoreTest, AReadOnlyStoreIsRefusedByItsNameAndKept) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\A", true));
  const std::string before = config_.StoreText();
  ::chmod(config_.StoreFile("HKEY_CURRENT_USER").c_str(), 0444);  // refused even to root
  try {
    TRegistryStore("HKEY_CURRENT_USER").Update([](TRegistryData& data) {
      return data.CreateKey("B").SetValue({"n", TRegDataType::rdString, "1", 0});
    });
    FAIL() << "no exception";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + config_.StoreFile("HKEY_CURRENT_USER"));
  }
  EXPECT_EQ(config_.StoreText(), before);
  EXPECT_EQ(FolderEntries(),
            (std::vector<std::string>{"HKEY_CURRENT_USER.lock", "HKEY_CURRENT_USER.reg"}));
}

TEST_F(RegistryStoreTest, AFolderThatTakesNoNewFileIsStillWritten) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\A", true));
  reg.WriteInteger("n", 1);
  CloseFolderToNewFiles();
  const std::string probe = Folder() + "/probe";
  const test::ChildOutcome outcome = test::RunAsUnprivilegedUser([&probe] {
    if (::open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600) >= 0) return 2;
    TRegistry writer;
    if (!writer.OpenKey("\\A", true)) return 3;
    writer.WriteInteger("n", 2);
    return 0;
  });
  if (!outcome.Unavailable.empty()) GTEST_SKIP() << outcome.Unavailable;
  EXPECT_EQ(outcome.Status, 0) << "1: the write failed, 2: the folder took a new file";
  TRegistry back;
  ASSERT_TRUE(back.OpenKey("\\A", false));
  EXPECT_EQ(back.ReadInteger("n"), 2);
  EXPECT_EQ(FolderEntries(),
            (std::vector<std::string>{"HKEY_CURRENT_USER.lock", "HKEY_CURRENT_USER.reg"}));
}

// Writes two equal values of a length that changes every round, so that a
// file read half written shows them unequal, or no longer parses.
void WriteRound(int round) {
  const std::string text(std::size_t(100000 + round % 2 * 50000), char('a' + round % 26));
  TRegistryStore("HKEY_CURRENT_USER").Update([&text](TRegistryData& data) {
    TRegKey& key = data.CreateKey("A");
    key.SetValue({"first", TRegDataType::rdString, text, 0});
    key.SetValue({"last", TRegDataType::rdString, text, 0});
    return true;
  });
}

bool IsWhole(const TRegistryData& data) {
  const TRegKey* key = data.FindKey("A");
  const TRegValue* first = key ? key->FindValue("first") : nullptr;
  const TRegValue* last = key ? key->FindValue("last") : nullptr;
  return first && last && first->Text == last->Text;
}

// In place, where a reader could meet the file half written but for the lock.
TEST_F(RegistryStoreTest, AReaderNeverSeesAFileThatAnotherProgramIsWriting) {
  constexpr int kCannotRun = 99;
  WriteRound(0);
  CloseFolderToNewFiles();
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    const test::ChildOutcome outcome = test::RunAsUnprivilegedUser([] {
      for (int round = 1; round <= 60; ++round) WriteRound(round);
      return 0;
    });
    _exit(outcome.Unavailable.empty() ? outcome.Status : kCannotRun);
  }
  const TRegistryStore store("HKEY_CURRENT_USER");
  int reads = 0;
  int halfWritten = 0;
  int status = 0;
  while (waitpid(writer, &status, WNOHANG) == 0) {
    ++reads;
    if (!IsWhole(store.Load())) ++halfWritten;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotRun) GTEST_SKIP() << "no unprivileged user";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_GT(reads, 0);
  EXPECT_EQ(halfWritten, 0) << "of " << reads << " reads";
}

}  // namespace
}  // namespace tessalune

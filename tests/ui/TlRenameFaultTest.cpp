// SPDX-License-Identifier: GPL-3.0-or-later
// The batch rename while the folder changes under it: a file vanishes, a name
// is taken, the folder may no longer be written. The changes are made while
// an overwrite question is open, before any file moved. Every file stays on
// disk under a name the gallery lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FileHandle.h"
#include "RenameTestSupport.h"
#include "TlRenameRun.h"

namespace tessalune {
namespace {

using test::Files;
using test::Names;

class RenameFaultTest : public ::testing::Test {
protected:
  RenameFaultTest() {
    for (const char* name : {"a.jpg", "b.jpg"}) folder_.AddPicture(name);
    folder_.AddOther("image001.jpg");
  }

  // Runs the rename; the question's answer first does what change does.
  void RunWhileAsked(const std::function<void()>& change, TModalResult answer) {
    test::ActingPrompt prompt([&](const TMessageDlgRequest&) {
      change();
      return answer;
    });
    TRenameRun(folder_.Gallery, {.Rename = true}).RenameFiles();
  }
  void Remove(const std::string& name) { std::filesystem::remove(folder_.Path(name)); }

  test::RenameSandbox folder_;
};

TEST_F(RenameFaultTest, AFileRemovedWhileAskedIsListedUnderItsName) {
  RunWhileAsked([&] { Remove("b.jpg"); }, mrYes);
  EXPECT_EQ(folder_.Files(), (Files{{"image001.jpg", "a.jpg"}}));
  EXPECT_EQ(folder_.Names(), (Names{"image001.jpg", "b.jpg"}));
}

// Deleting the existing file first and renaming after would lose it here.
TEST_F(RenameFaultTest, YesForAFileThatVanishedKeepsTheFileItWouldReplace) {
  RunWhileAsked([&] { Remove("a.jpg"); }, mrYes);
  EXPECT_EQ(folder_.Files(),
            (Files{{"image001.jpg", "other image001.jpg"}, {"image002.jpg", "b.jpg"}}));
  EXPECT_EQ(folder_.Names(), (Names{"a.jpg", "image002.jpg"}));
}

// c.jpg's question comes after b.jpg's new name was decided.
TEST_F(RenameFaultTest, ANewNameTakenWhileAskedIsNeverReplacedAndTheWarningSaysWhy) {
  folder_.AddPicture("c.jpg");
  folder_.AddOther("image003.jpg");
  test::ActingPrompt prompt([&](const TMessageDlgRequest& request) {
    if (request.Message.find("image003.jpg") != std::string::npos) folder_.AddOther("image002.jpg");
    return request.Kind == TMsgDlgType::mtConfirmation ? mrYes : mrOk;
  });
  TRenameRun(folder_.Gallery, {.Rename = true}).RenameFiles();
  EXPECT_EQ(folder_.Files(), (Files{{"b.jpg", "b.jpg"},
                                    {"image001.jpg", "a.jpg"},
                                    {"image002.jpg", "other image002.jpg"},
                                    {"image003.jpg", "c.jpg"}}));
  EXPECT_EQ(folder_.Names(), (Names{"image001.jpg", "b.jpg", "image003.jpg"}));
  EXPECT_EQ(prompt.Messages().back().Message,
            "These pictures could not be renamed; each is listed under the name it has now, with "
            "its new name and the reason:\n" + folder_.Path("b.jpg") + " (image002.jpg: File exists)");
}

// Root writes into read-only folders, so these runs go to a child process
// that first gives up root and becomes "nobody", to whom the sandbox is
// handed; without root the child stays the test's own user. The child sends
// the gallery's names back through a pipe.
class ReadOnlyFolderTest : public RenameFaultTest {
protected:
  static constexpr uid_t kNobody = 65534;

  ~ReadOnlyFolderTest() override { ::chmod(folder_.Pictures().c_str(), 0755); }

  Names RunUnprivileged(bool readOnlyFromStart) {
    if (::geteuid() == 0) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.Root()))
        EXPECT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
      EXPECT_EQ(::chown(folder_.Root().c_str(), kNobody, kNobody), 0);
    }
    int pipe[2];
    if (::pipe(pipe) != 0) return {"<no pipe>"};
    const pid_t child = ::fork();
    if (child == 0) ::_exit(RunAsChild(pipe[1], readOnlyFromStart));
    ::close(pipe[1]);
    std::string lines;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
      lines.append(buffer, std::size_t(n));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    folder_.Gallery.ImageFiles().Clear();
    for (std::size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos;
         start = end + 1)
      folder_.Gallery.ImageFiles().Add()->FileName = lines.substr(start, end - start);
    return folder_.Names();
  }

  // At the question the folder becomes read-only, and the answer is Yes.
  int RunAsChild(int out, bool readOnlyFromStart) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
      return 2;
    const auto readOnly = [this] { ::chmod(folder_.Pictures().c_str(), 0555); };
    if (readOnlyFromStart) readOnly();
    RunWhileAsked(readOnly, mrYes);
    std::string lines;
    for (int i = 0; i < folder_.Gallery.GetImageCount(); ++i)
      lines += folder_.Gallery.GetImageFile(i)->FileName + "\n";
    return WriteAll(out, lines) ? 0 : 3;
  }
};

TEST_F(ReadOnlyFolderTest, AFolderMadeReadOnlyWhileAskedKeepsEveryName) {
  EXPECT_EQ(RunUnprivileged(false), (Names{"a.jpg", "b.jpg"}));
  EXPECT_EQ(
      folder_.Files(),
      (Files{{"a.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}, {"image001.jpg", "other image001.jpg"}}));
}

TEST_F(ReadOnlyFolderTest, AReadOnlyFolderChangesNothingEvenAfterYes) {
  EXPECT_EQ(RunUnprivileged(true), (Names{"a.jpg", "b.jpg"}));
  EXPECT_EQ(
      folder_.Files(),
      (Files{{"a.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}, {"image001.jpg", "other image001.jpg"}}));
}

}  // namespace
}  // namespace tessalune

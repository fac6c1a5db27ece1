// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileReplace.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "Errors.h"
#include "ProcessLimits.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

namespace fs = std::filesystem;

std::size_t EntriesIn(const fs::path& folder) {
  return std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

std::string FileTooLarge() { return std::error_code(EFBIG, std::system_category()).message(); }

TEST(ReplaceFile, AWriteFailingPartWayKeepsTheOldContentAndTellsWhy) {
  test::Sandbox box;
  const std::string file = box.Write("page.html", "old content");
  try {
    test::ScopedFileSizeLimit limit(64);
    ReplaceFileBytes(file, std::string(1000, 'n'), TDurability::Cached);
    FAIL() << "no error";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), FileTooLarge()) << "the file system's own message";
  }
  EXPECT_EQ(test::ReadBytes(file), "old content");
  EXPECT_EQ(EntriesIn(box.Path()), 1u) << "the unfinished file is removed";
}

TEST(ReplaceFile, ACopyReplacesTheWholeFileOrNothing) {
  test::Sandbox box;
  const std::string source = box.Write("picture.jpg", std::string(5000, 'p'));
  const std::string dest = box.Write("out/picture.jpg", "previous copy");
  ReplaceFileByCopy(source, dest);
  EXPECT_EQ(test::ReadBytes(dest), std::string(5000, 'p'));

  box.Write("out/picture.jpg", "previous copy");
  {
    test::ScopedFileSizeLimit limit(1000);
    EXPECT_THROW(ReplaceFileByCopy(source, dest), EWriteError);
  }
  EXPECT_EQ(test::ReadBytes(dest), "previous copy");
  const std::string missing = box.File("missing.jpg");
  try {
    ReplaceFileByCopy(missing, dest);
    FAIL() << "no error";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Cannot open file " + missing);
  }
  EXPECT_EQ(test::ReadBytes(dest), "previous copy");
  EXPECT_EQ(EntriesIn(box.File("out")), 1u);
}

// What the child checks in a folder it may not write; each failed check
// exits with its own number.
int WriteIntoReadOnlyFolder(const std::string& shared) {
  ReplaceFileBytes(shared + "/a.txt", "new", TDurability::Flushed);
  try {
    ReplaceFileBytes(shared + "/b.txt", "x", TDurability::Cached);
    return 2;
  } catch (const EWriteError&) {
    return 3;
  } catch (const EFCreateError& error) {
    if (error.Message() != "Cannot create file " + shared + "/b.txt") return 4;
  }
  try {
    test::ScopedFileSizeLimit limit(20);
    ReplaceFileBytes(shared + "/a.txt", std::string(100, 'y'), TDurability::Cached);
    return 5;
  } catch (const EWriteError& error) {
    if (error.Message() != FileTooLarge()) return 6;
  }
  return 0;
}

TEST(ReplaceFile, AWritableFileInAFolderThatMayNotBeWrittenIsWrittenInPlace) {
  test::Sandbox box;
  const std::string shared = box.File("shared");
  const std::string file = box.Write("shared/a.txt", "the previous, longer content");
  fs::permissions(box.Path(), fs::perms(0755));
  fs::permissions(file, fs::perms(0666));
  fs::permissions(shared, fs::perms(0555));
  const test::ChildOutcome outcome =
      test::RunAsUnprivilegedUser([&] { return WriteIntoReadOnlyFolder(shared); });
  fs::permissions(shared, fs::perms(0755));
  if (!outcome.Unavailable.empty()) GTEST_SKIP() << outcome.Unavailable;
  EXPECT_EQ(outcome.Status, 0) << "the check that failed in the child";
  EXPECT_EQ(test::ReadBytes(file), "new") << "the old content's tail is cut off, and a write "
                                             "beyond the limit leaves the file whole";
  EXPECT_EQ(EntriesIn(shared), 1u);
}

}  // namespace
}  // namespace tessalune

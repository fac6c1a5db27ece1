// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "Errors.h"
#include "FileLib.h"
#include "Globals.h"
#include "TestNames.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> Names(const TFileFolder& listing) {
  std::vector<std::string> names;
  for (int i = 0; i < listing.Count(); ++i) names.push_back(listing.GetFileName(i));
  return Sorted(names);
}

TEST(AddBackslash, AddsTheSeparatorOnlyWhenTheLastCharacterIsNotOne) {
  EXPECT_EQ(AddBackslash("/home"), "/home/");
  EXPECT_EQ(AddBackslash("/home/"), "/home/");
  EXPECT_EQ(AddBackslash(""), "/");
  EXPECT_EQ(AddBackslash("a\\"), "a\\/");
  EXPECT_EQ(AddSlash("http://x"), "http://x/");
  EXPECT_EQ(AddSlash("images/"), "images/");
  EXPECT_EQ(AddSlash(""), "/");
  EXPECT_EQ(AddSlash("images\\"), "images\\/");
}

struct SizeCase {
  std::int64_t size;
  const char* text;  // with "." where the decimal separator goes
};

class FormatFileSizeTable : public ::testing::TestWithParam<std::tuple<SizeCase, const char*>> {};

TEST_P(FormatFileSizeTable, ShowsTheSizeWithTheUsersDecimalSeparator) {
  const auto& [c, separator] = GetParam();
  ScopedDecimalSeparator locale(separator);
  std::string expected = c.text;
  std::replace(expected.begin(), expected.end(), '.', separator[0]);
  EXPECT_EQ(FormatFileSize(c.size), expected) << "size " << c.size;
}

const SizeCase kSizes[] = {
    {0, "0 byte"},          {1, "1 byte"},           {999, "999 byte"},
    {-1, "-1 byte"},        {1000, "0.98 KB"},       {1023, "1 KB"},
    {1024, "1 KB"},         {1152, "1.13 KB"},       {1536, "1.5 KB"},
    {999999, "976.56 KB"},  {1000000, "0.95 MB"},    {1048576, "1 MB"},
    {5000000, "4.77 MB"},   {2147483647, "2048 MB"}, {5000000000, "4768.37 MB"},
    {1126, "1.1 KB"},       {1029, "1 KB"},          {INT64_MAX, "8796093022208 MB"},
};

std::string SizeName(const ::testing::TestParamInfo<FormatFileSizeTable::ParamType>& tested) {
  const auto& [c, separator] = tested.param;
  return test::SpelledName(std::to_string(c.size)) + (separator[0] == '.' ? "_with_point" : "_with_comma");
}

INSTANTIATE_TEST_SUITE_P(PointAndComma, FormatFileSizeTable,
                         ::testing::Combine(::testing::ValuesIn(kSizes), ::testing::Values(".", ",")),
                         SizeName);

TEST(FileSizeOf, MeasuresFilesAndGivesZeroOnEveryFailure) {
  test::Sandbox box;
  EXPECT_EQ(FileSizeOf(box.Write("five.bin", "12345")), 5);
  EXPECT_EQ(FileSizeOf(box.Write("empty.bin", "")), 0);
  EXPECT_EQ(FileSizeOf(box.File("missing.bin")), 0);
  EXPECT_EQ(FileSizeOf(box.Path().string()), 0);
  EXPECT_EQ(FileSizeOf(""), 0);
  const std::string pipe = box.File("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(FileSizeOf(pipe), 0);
}

TEST(FileSizeOf, GivesZeroForAFileThatCannotBeRead) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  test::Sandbox box;
  const std::string locked = box.Write("locked.bin", "secret");
  fs::permissions(locked, fs::perms::none);
  EXPECT_EQ(FileSizeOf(locked), 0);
}

TEST(FileSizeOf, ReportsTheTrueSizeOfFilesBeyondTwoGigabytes) {
  test::Sandbox box;
  const std::string big = box.File("big.bin");
  const std::int64_t fiveGB = 5000000000;
  const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  const bool sized = ::ftruncate(fd, fiveGB) == 0;  // sparse: no disk space used
  ::close(fd);
  if (!sized) GTEST_SKIP() << "the file system refuses sparse files of 5 GB";
  EXPECT_EQ(FileSizeOf(big), fiveGB);
  std::int64_t total = 0;
  for (int i = 0; i < 3; ++i) total += FileSizeOf(big);
  EXPECT_EQ(total, 3 * fiveGB);
  ScopedDecimalSeparator locale(".");
  EXPECT_EQ(FormatFileSize(FileSizeOf(big)), "4768.37 MB");
}

TEST(FileBytes, RoundTripEveryByteAndRaiseWithTheFileName) {
  test::Sandbox box;
  const std::string bytes("a\0\r\n\xFF", 5);
  WriteFileBytes(box.File("f.bin"), bytes);
  EXPECT_EQ(ReadFileBytes(box.File("f.bin")), bytes);
  WriteFileBytes(box.File("f.bin"), "x");
  EXPECT_EQ(ReadFileBytes(box.File("f.bin")), "x");
  const std::string folder = box.Path().string();
  try {
    ReadFileBytes(folder);
    FAIL() << "no exception";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Cannot open file " + folder);
  }
  try {
    WriteFileBytes(folder, "x");
    FAIL() << "no exception";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + folder);
  }
}

TEST(FileBytes, APipeOrADeviceIsRefusedAtOnce) {
  test::Sandbox box;
  const std::string pipe = box.File("page.html");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_THROW(ReadFileBytes(pipe), EFOpenError);  // no writer: must not wait for one
  EXPECT_THROW(WriteFileBytes(pipe, "x"), EFCreateError);  // no reader: likewise
  if (fs::exists("/dev/zero")) {
    EXPECT_THROW(ReadFileBytes("/dev/zero"), EFOpenError);  // would never end
  }
}

TEST(FileBytes, AFullDiskIsAFailureNotASuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_THROW(WriteFileBytes("/dev/full", "bytes"), EFCreateError);
}

// A folder with visible and hidden files and sub-folders.
class FolderListing : public ::testing::Test {
protected:
  void SetUp() override {
    box.Write("a.jpg", "a");
    box.Write("b.gif", "b");
    box.Write(".hidden.jpg", "h");
    box.Write("sub/inner.jpg", "i");
    box.Write(".secret/deep.jpg", "d");
  }
  std::string Folder() const { return box.Path().string(); }
  test::Sandbox box;
};

TEST_F(FolderListing, FilesLeaveOutFoldersAndHiddenEntries) {
  TFileFolder listing(Folder(), fkFiles);
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"a.jpg", "b.gif"}));
  for (const std::string& entry : listing) EXPECT_EQ(entry.rfind(Folder() + "/", 0), 0u) << entry;
  EXPECT_EQ(listing.Folder(), Folder());
}

TEST_F(FolderListing, HiddenAddsHiddenEntries) {
  EXPECT_EQ(Names(TFileFolder(Folder(), fkFiles | fkHidden)),
            (std::vector<std::string>{".hidden.jpg", "a.jpg", "b.gif"}));
  EXPECT_EQ(Names(TFileFolder(Folder(), fkFolders | fkHidden)),
            (std::vector<std::string>{".secret", "sub"}));
}

TEST_F(FolderListing, FoldersListOnlyVisibleSubFolders) {
  EXPECT_EQ(Names(TFileFolder(Folder(), fkFolders)), (std::vector<std::string>{"sub"}));
  EXPECT_EQ(TFileFolder(Folder(), TFileKinds{}).Count(), 0);
}

TEST_F(FolderListing, ATrailingSeparatorIsNotDoubled) {
  TFileFolder listing(Folder() + "/", fkFolders);
  ASSERT_EQ(listing.Count(), 1);
  EXPECT_EQ(listing.Strings(0), Folder() + "/sub");
  EXPECT_EQ(listing.GetFileName(0), "sub");
}

TEST_F(FolderListing, ScanAppendsWithoutClearing) {
  TFileFolder listing(Folder(), fkFolders);
  listing.Scan(Folder() + "/sub", fkFiles);
  EXPECT_EQ(listing.Count(), 2);
  EXPECT_EQ(listing.Folder(), Folder() + "/sub");
  EXPECT_EQ(listing.GetFileName(1), "inner.jpg");
}

TEST_F(FolderListing, AMissingFolderGivesNoEntries) {
  EXPECT_EQ(TFileFolder(box.File("nowhere"), fkFiles | fkFolders | fkHidden).Count(), 0);
  std::vector<std::string> found{"kept"};
  FindFiles(found, box.File("nowhere"), "*.*", true, true, true);
  EXPECT_EQ(found, std::vector<std::string>{"kept"});
}

TEST_F(FolderListing, ABadIndexRaisesTheListIndexError) {
  TFileFolder listing(Folder(), fkFiles);
  EXPECT_THROW(listing.GetFileName(2), EListError);
  try {
    listing.Strings(-1);
    FAIL() << "no exception";
  } catch (const EListError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
  }
}

TEST_F(FolderListing, FindFilesListsAFoldersOwnMatchesFirstAndSkipsHiddenSubFolders) {
  std::vector<std::string> found{"kept"};
  FindFiles(found, Folder(), "*.*", true, true, false);
  ASSERT_EQ(found.size(), 5u);
  EXPECT_EQ(found[0], "kept");
  EXPECT_EQ(found.back(), Folder() + "/sub/inner.jpg");
  EXPECT_EQ(Sorted({found.begin() + 1, found.end() - 1}),
            (std::vector<std::string>{Folder() + "/.hidden.jpg", Folder() + "/a.jpg", Folder() + "/b.gif"}));
}

TEST_F(FolderListing, FindFilesHonoursTheMaskAndTheKinds) {
  std::vector<std::string> found;
  FindFiles(found, Folder(), "*.jpg", false, true, false);
  EXPECT_EQ(Sorted(found), (std::vector<std::string>{Folder() + "/.hidden.jpg", Folder() + "/a.jpg"}));
  found.clear();
  FindFiles(found, Folder() + "/", "*", false, false, true);
  EXPECT_EQ(Sorted(found), (std::vector<std::string>{Folder() + "/.secret", Folder() + "/sub"}));
}

TEST(FindFiles, AFileOnlyInAHiddenSubFolderIsNotFound) {
  test::Sandbox box;
  box.Write(".cache/only.jpg", "x");
  std::vector<std::string> found;
  FindFiles(found, box.Path().string(), "*.*", true, true, false);
  EXPECT_TRUE(found.empty());
}

TEST(FindFiles, ALinkCycleDoesNotMakeTheSearchEndless) {
  test::Sandbox box;
  box.Write("sub/a.jpg", "x");
  fs::create_directory_symlink(box.Path(), box.Path() / "sub" / "loop");
  std::vector<std::string> found;
  FindFiles(found, box.Path().string(), "*.*", true, true, true);
  EXPECT_EQ(Sorted(found), (std::vector<std::string>{box.File("sub"), box.File("sub/a.jpg"),
                                                     box.File("sub/loop")}));
}

TEST(FileNames, FileNamePartIsAfterTheLastSlash) {
  EXPECT_EQ(FileNamePart("/photos/2024/a.jpg"), "a.jpg");
  EXPECT_EQ(FileNamePart("a.jpg"), "a.jpg");
  EXPECT_EQ(FileNamePart("/photos/"), "");
}

TEST(FileNames, ChangeFileExtReplacesTheLastExtensionOfTheName) {
  EXPECT_EQ(ChangeFileExt("a.png", ".jpg"), "a.jpg");
  EXPECT_EQ(ChangeFileExt("archive.tar.gz", ".jpg"), "archive.tar.jpg");
  EXPECT_EQ(ChangeFileExt("noext", ".jpg"), "noext.jpg");
  EXPECT_EQ(ChangeFileExt("/my.photos/noext", ".jpg"), "/my.photos/noext.jpg");
  EXPECT_EQ(ChangeFileExt("/my.photos/a.bmp", ".jpg"), "/my.photos/a.jpg");
}

TEST(FileKinds, FilesAndFoldersAreToldApart) {
  test::Sandbox box;
  const std::string file = box.Write("a.txt", "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(IsFolder(file));
  EXPECT_FALSE(FileExists(box.Path().string()));
  EXPECT_TRUE(IsFolder(box.Path().string()));
  EXPECT_FALSE(FileExists(box.File("none")));
  EXPECT_FALSE(IsFolder(box.File("none")));
  EXPECT_FALSE(IsFolder(""));
}

}  // namespace
}  // namespace tessalune

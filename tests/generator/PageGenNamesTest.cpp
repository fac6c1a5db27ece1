// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "PageGenNames.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

TEST(PageGenNamesTest, FileNamePartIsAfterTheLastSlash) {
  EXPECT_EQ(FileNamePart("/photos/2024/a.jpg"), "a.jpg");
  EXPECT_EQ(FileNamePart("a.jpg"), "a.jpg");
  EXPECT_EQ(FileNamePart("/photos/"), "");
}

TEST(PageGenNamesTest, ChangeFileExtReplacesTheLastExtensionOfTheName) {
  EXPECT_EQ(ChangeFileExt("a.png", ".jpg"), "a.jpg");
  EXPECT_EQ(ChangeFileExt("archive.tar.gz", ".jpg"), "archive.tar.jpg");
  EXPECT_EQ(ChangeFileExt("noext", ".jpg"), "noext.jpg");
  EXPECT_EQ(ChangeFileExt("/my.photos/noext", ".jpg"), "/my.photos/noext.jpg");
  EXPECT_EQ(ChangeFileExt("/my.photos/a.bmp", ".jpg"), "/my.photos/a.jpg");
}

TEST(PageGenNamesTest, SameTextAsciiFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(SameTextAscii("/Photos/A.JPG", "/photos/a.jpg"));
  EXPECT_FALSE(SameTextAscii("a.jpg", "a.jpeg"));
  EXPECT_FALSE(SameTextAscii("\xC3\x89.jpg", "\xC3\xA9.jpg"));
}

TEST(PageGenNamesTest, BlankMeansControlCharactersAndSpacesOnly) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank(" \t\r\n"));
  EXPECT_FALSE(IsBlank(" x "));
}

TEST(PageGenNamesTest, FileExistsIsFalseForFolders) {
  test::Sandbox box;
  EXPECT_TRUE(FileExists(box.Write("a.txt", "x")));
  EXPECT_FALSE(FileExists(box.Path().string()));
  EXPECT_FALSE(FileExists(box.File("none")));
}

}  // namespace
}  // namespace tessalune

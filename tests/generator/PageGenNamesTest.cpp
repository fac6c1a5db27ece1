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

TEST(PageGenNamesTest, FileExistsIsFalseForFolders) {
  test::Sandbox box;
  EXPECT_TRUE(FileExists(box.Write("a.txt", "x")));
  EXPECT_FALSE(FileExists(box.Path().string()));
  EXPECT_FALSE(FileExists(box.File("none")));
}

}  // namespace
}  // namespace tessalune

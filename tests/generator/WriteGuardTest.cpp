// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "Errors.h"
#include "TestSupport.h"
#include "WriteGuard.h"

namespace tessalune {
namespace {

class WriteGuardTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(box.Path() / "out" / "images");
    picture = box.Write("pictures/a.jpg", "picture");
    guard.Reset(box.File("out") + "/", {picture, box.File("missing.jpg")});
  }

  test::Sandbox box;
  std::string picture;
  TWriteGuard guard;
};

TEST_F(WriteGuardTest, KeepsWritesInsideTheOutputFolder) {
  EXPECT_TRUE(guard.IsInside(box.File("out/index.html")));
  EXPECT_TRUE(guard.IsInside(box.File("out/images/th_a.jpg")));
  EXPECT_TRUE(guard.IsInside(box.File("out/images/../a.jpg")));
  EXPECT_TRUE(guard.IsInside(box.File("out//images/./a.jpg")));
  EXPECT_FALSE(guard.IsInside(box.File("out/../a.jpg")));
  EXPECT_FALSE(guard.IsInside(box.File("out/images/../../a.jpg")));
  EXPECT_FALSE(guard.IsInside(box.File("outside.html")));
  EXPECT_FALSE(guard.IsInside(box.File("out2/index.html")));
  EXPECT_FALSE(guard.IsInside(box.File("out")));
  EXPECT_FALSE(guard.IsInside("/etc/passwd"));
}

TEST_F(WriteGuardTest, CheckInsideRaisesTheCreateError) {
  const std::string outside = box.File("out/../x.html");
  try {
    guard.CheckInside(outside);
    FAIL() << "no error";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + outside);
  }
  EXPECT_NO_THROW(guard.CheckInside(box.File("out/x.html")));
}

TEST_F(WriteGuardTest, ProtectsTheFilesItWasGivenUnderAnyName) {
  EXPECT_TRUE(guard.IsProtected(picture));
  EXPECT_TRUE(guard.IsProtected(box.File("pictures/../pictures/a.jpg")));
  const std::string link = box.File("out/images/a.jpg");
  std::filesystem::create_symlink(picture, link);
  EXPECT_TRUE(guard.IsProtected(link));
  EXPECT_FALSE(guard.MayWrite(link));
  const std::string hardLink = box.File("out/hard.jpg");
  std::filesystem::create_hard_link(picture, hardLink);
  EXPECT_TRUE(guard.IsProtected(hardLink));
}

TEST_F(WriteGuardTest, LetsOtherFilesBeWritten) {
  const std::string other = box.Write("out/images/b.jpg", "other");
  EXPECT_FALSE(guard.IsProtected(other));
  EXPECT_TRUE(guard.MayWrite(other));
  EXPECT_TRUE(guard.MayWrite(box.File("out/images/new.jpg")));
  // A protected file that did not exist at the start protects nothing.
  box.Write("missing.jpg", "late");
  EXPECT_FALSE(guard.IsProtected(box.File("missing.jpg")));
}

TEST_F(WriteGuardTest, RecognisesTheSameFile) {
  EXPECT_TRUE(IsSameFile(picture, box.File("pictures/./a.jpg")));
  EXPECT_FALSE(IsSameFile(picture, box.Write("pictures/b.jpg", "picture")));
  EXPECT_FALSE(IsSameFile(box.File("none.jpg"), box.File("none.jpg")));
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRenameNames.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "TestNames.h"

namespace tessalune {
namespace {

struct NewNameCase {
  const char* Title;
  TRenameOptions Options;
  const char* Name;
  int Index;
  std::string Expected;
};

void PrintTo(const NewNameCase& c, std::ostream* out) { *out << c.Title; }

class MakeNewNameTest : public ::testing::TestWithParam<NewNameCase> {};

TEST_P(MakeNewNameTest, GivesTheExpectedName) {
  const NewNameCase& c = GetParam();
  EXPECT_EQ(MakeNewName(c.Options, c.Name, c.Index), c.Expected);
}

const TRenameOptions kNumbered{.Rename = true};
const TRenameOptions kJpegToJpg{.ChangeExt = true, .OldExt = "JPEG", .NewExt = "jpg"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, MakeNewNameTest, ::testing::Values(
    NewNameCase{"defaults keep the extension's case", kNumbered, "photo.JPG", 0, "image001.JPG"},
    NewNameCase{"lower case takes the extension too", {.LowerCase = true, .Rename = true},
                "photo.JPG", 0, "image001.jpg"},
    NewNameCase{"a dot in the folder is no extension", kNumbered, "/home/ann/Trip.2024/README", 0,
                "image001"},
    NewNameCase{"a longer number is never cut", {.Rename = true, .Digits = 2, .Start = 99},
                "a.jpg", 2, "image101.jpg"},
    NewNameCase{"no digit count gives the bare number", {.Rename = true, .Digits = 0, .Start = 1},
                "a.jpg", 2, "image3.jpg"},
    NewNameCase{"four digits from zero", {.Rename = true, .Digits = 4, .Start = 0}, "a.jpg", 2,
                "image0002.jpg"},
    NewNameCase{"the prefix is used as typed", {.Rename = true, .Prefix = " Trip 2024-"}, "a.jpg",
                0, " Trip 2024-001.jpg"},
    NewNameCase{"the largest start number does not wrap",
                {.Rename = true, .Digits = 0, .Start = INT_MAX}, "a.jpg", 1, "image2147483648.jpg"},
    NewNameCase{"padding stops at the longest file name",
                {.Rename = true, .Prefix = "", .Digits = INT_MAX}, "a", 0,
                std::string(kMaxRenameDigits - 1, '0') + "1"},
    NewNameCase{"old extension matched without regard to case", kJpegToJpg, "a.jpeg", 0, "a.jpg"},
    NewNameCase{"another extension stays", kJpegToJpg, "a.JPG", 0, "a.JPG"},
    NewNameCase{"a blank new extension changes nothing",
                {.ChangeExt = true, .OldExt = "jpeg", .NewExt = "  "}, "a.jpeg", 0, "a.jpeg"},
    NewNameCase{"an empty old extension matches a name ending in a dot",
                {.ChangeExt = true, .OldExt = "", .NewExt = "jpg"}, "a.", 0, "a.jpg"},
    NewNameCase{"an empty old extension matches no other name",
                {.ChangeExt = true, .OldExt = "", .NewExt = "jpg"}, "a.jpeg", 0, "a.jpeg"},
    NewNameCase{"a leading blank of the new extension is kept",
                {.ChangeExt = true, .OldExt = "jpeg", .NewExt = " jpg"}, "a.jpeg", 0, "a. jpg"},
    NewNameCase{"the old extension is not trimmed",
                {.ChangeExt = true, .OldExt = " jpeg", .NewExt = "jpg"}, "a.jpeg", 0, "a.jpeg"},
    NewNameCase{"numbering and a new extension together",
                {.Rename = true, .ChangeExt = true, .OldExt = "JPEG", .NewExt = "jpg"}, "/p/a.jpeg",
                0, "image001.jpg"},
    NewNameCase{"lower case only", {.LowerCase = true}, "/p/IMG_0001.JPG", 0, "img_0001.jpg"},
    NewNameCase{"lower case touches A to Z only", {.LowerCase = true}, "\xC3\x84RGER.JPG", 0,
                "\xC3\x84rger.jpg"},
    NewNameCase{"nothing on keeps the name", {}, "/p/Photo.JPG", 5, "Photo.JPG"}),
    test::PrintedName());
// clang-format on

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SortDlg.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <string>

#include <QRadioButton>
#include <QTest>

#include "DialogAnswerer.h"
#include "GalleryProp.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

struct NameCase {
  const char* Name;
  const char* First;
  const char* Second;
  int Order;  // the sign of CompareText(First, Second)
};

const NameCase kNameCases[] = {
    {"LettersIgnoreCase", "a.jpg", "B.jpg", -1},
    {"CapitalBeforeSmallFollowingLetter", "B.jpg", "c.jpg", -1},
    {"DigitsOneByOne", "IMG10.jpg", "img2.jpg", -1},
    {"UnderscoreAfterLetters", "a.jpg", "_a.jpg", -1},
    {"FullStopBeforeDigits", "photo.jpg", "photo1.jpg", -1},
    {"ShorterFirst", "abc", "abcd", -1},
    {"CaseOfAToZOnly", "Photo.JPG", "pHOTO.jpg", 0},
    {"OtherBytesKeepTheirCase", "\xc3\xa9.jpg", "\xc3\x89.jpg", 1},
};

class CompareTextCase : public ::testing::TestWithParam<NameCase> {};

TEST_P(CompareTextCase, OrdersByteByByteWithAToZFolded) {
  const NameCase& c = GetParam();
  EXPECT_EQ(Sign(CompareText(c.First, c.Second)), c.Order);
  EXPECT_EQ(Sign(CompareText(c.Second, c.First)), -c.Order);
}

INSTANTIATE_TEST_SUITE_P(Cases, CompareTextCase, ::testing::ValuesIn(kNameCases),
                         [](const auto& entry) { return std::string(entry.param.Name); });

// Pictures of a sandbox whose files carry chosen last-write times.
class SortDlgTest : public ::testing::Test {
protected:
  TImageFile& Picture(const std::string& fileName) {
    TImageFile* picture = gallery_.ImageFiles().Add();
    picture->FileName = fileName;
    return *picture;
  }
  TImageFile& Written(const std::string& name, std::time_t seconds, long nanoseconds = 0) {
    const std::string file = sandbox_.Write(name, "x");
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    EXPECT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    return Picture(file);
  }
  // A local time of day on an even second.
  static std::time_t Local(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
  }

  test::Sandbox sandbox_;
  TPicGallery gallery_;
};

TEST_F(SortDlgTest, FileNamesCompareWithoutTheirFolders) {
  EXPECT_EQ(CompareFileNames(Picture("/x/b/photo.jpg"), Picture("/a/PHOTO.jpg")), 0);
  EXPECT_LT(CompareFileNames(Picture("/z/a.jpg"), Picture("/a/b.jpg")), 0);
  EXPECT_GT(CompareFileNamesDesc(Picture("/z/a.jpg"), Picture("/a/b.jpg")), 0);
}

TEST_F(SortDlgTest, FileAgeIsTheMsDosLocalTime) {
  const TImageFile& picture = Written("a.jpg", Local(2024, 3, 9, 14, 25, 37));
  EXPECT_EQ(FileAge(picture.FileName), std::int64_t((44 << 9 | 3 << 5 | 9) << 16 | (14 << 11 | 25 << 5 | 18)));
  EXPECT_EQ(FileAge(sandbox_.File("missing.jpg")), -1);
  EXPECT_EQ(FileAge(sandbox_.Path().string()), -1);
  EXPECT_EQ(FileAge(Written("old.jpg", Local(1975, 1, 1, 12, 0, 0)).FileName), -1);
}

TEST_F(SortDlgTest, DatesCompareInTwoSecondStepsAndAMissingFileFirst) {
  const std::time_t even = Local(2021, 6, 1, 8, 0, 10);
  const TImageFile& early = Written("early.jpg", even, 100000000);
  const TImageFile& sameStep = Written("same.jpg", even + 1, 900000000);
  const TImageFile& nextStep = Written("next.jpg", even + 2);
  const TImageFile& missing = Picture(sandbox_.File("missing.jpg"));
  EXPECT_EQ(CompareFileDates(early, sameStep), 0);
  EXPECT_LT(CompareFileDates(early, nextStep), 0);
  EXPECT_LT(CompareFileDates(missing, early), 0);
  EXPECT_EQ(CompareFileDatesDesc(early, sameStep), 0);
  EXPECT_GT(CompareFileDatesDesc(early, nextStep), 0);
}

// The MS-DOS times of 2044 and later fill the 32nd bit.
TEST_F(SortDlgTest, DatesAfter2043StillFollowEarlierOnes) {
  const TImageFile& late = Written("late.jpg", Local(2050, 1, 1, 0, 0, 0));
  EXPECT_GT(CompareFileDates(late, Written("now.jpg", Local(2020, 1, 1, 0, 0, 0))), 0);
  EXPECT_GT(CompareFileDates(late, Picture(sandbox_.File("missing.jpg"))), 0);
}

// What ShowSortDialog hands back for a dialog closed by key.
struct DialogCase {
  const char* Name;
  const char* Key;
  const char* Order;
  Qt::Key Close;
  bool Result;
  TImageFileCompare Compare;
};

const DialogCase kDialogCases[] = {
    {"EnterSortsByNameAscendingByDefault", nullptr, nullptr, Qt::Key_Return, true, CompareFileNames},
    {"EnterTakesTheChoicesOnDisplay", "rbnFileDate", "rbnDesc", Qt::Key_Return, true, CompareFileDatesDesc},
    {"EscapeSortsNothing", "rbnFileDate", "rbnAsc", Qt::Key_Escape, false, CompareFileDates},
};

class ShowSortDialogCase : public ::testing::TestWithParam<DialogCase> {};

TEST_P(ShowSortDialogCase, HandsBackTheComparerOfTheChoices) {
  const DialogCase& c = GetParam();
  test::DialogAnswerer answerer;
  answerer.Answer<TfrmSort>([&c](TfrmSort& form) {
    EXPECT_TRUE(form.rbnFileName->isChecked() && form.rbnAsc->isChecked());
    EXPECT_EQ(form.width(), 282);
    if (c.Key) form.findChild<QRadioButton*>(c.Key)->setChecked(true);
    if (c.Order) form.findChild<QRadioButton*>(c.Order)->setChecked(true);
    QTest::keyClick(&form, c.Close);
  });
  TImageFileCompare compare = nullptr;
  EXPECT_EQ(ShowSortDialog(compare), c.Result);
  EXPECT_EQ(compare, c.Compare);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShowSortDialogCase, ::testing::ValuesIn(kDialogCases),
                         [](const auto& entry) { return std::string(entry.param.Name); });

}  // namespace
}  // namespace tessalune

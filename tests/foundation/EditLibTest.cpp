// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "DialogAnswerer.h"
#include "EditLib.h"
#include "TestNames.h"

namespace tessalune {
namespace {

// A number edit with the publishing dialog's thumbnail bounds, 10 to 999.
class NaturalEditTest : public ::testing::Test {
protected:
  NaturalEditTest() {
    edit_.SetMinValue(10);
    edit_.SetMaxValue(999);
  }
  TNaturalEdit edit_;
};

TEST_F(NaturalEditTest, TypingKeepsDigitsAndBackspaceOnly) {
  edit_.clear();
  QTest::keyClicks(&edit_, "12a3- x");
  QTest::keyClick(&edit_, Qt::Key_Return);
  EXPECT_EQ(edit_.text(), "123");
  QTest::keyClick(&edit_, Qt::Key_Backspace);
  EXPECT_EQ(edit_.text(), "12");
}

struct TextCase {
  const char* text;
  int value;
};

class NaturalEditReading : public NaturalEditTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(NaturalEditReading, ClampsTheTextsNumberToTheBounds) {
  edit_.setText(GetParam().text);
  EXPECT_EQ(edit_.Value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, NaturalEditReading,
                         ::testing::Values(TextCase{"5", 10}, TextCase{"5000", 999}, TextCase{"", 10},
                                           TextCase{"0x3e7", 999}, TextCase{"$1F", 31},
                                           TextCase{"4294967296", 10}),
                         [](const auto& tested) { return test::SpelledName(tested.param.text); });

struct StepCase {
  const char* text;
  const char* arrow;
  const char* after;
};

class NaturalEditArrows : public NaturalEditTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(NaturalEditArrows, StepFromTheClampedValueAndKeepTheCaret) {
  edit_.setText(GetParam().text);
  edit_.setCursorPosition(1);
  edit_.findChild<QToolButton*>(GetParam().arrow)->click();
  EXPECT_EQ(edit_.text(), GetParam().after);
  EXPECT_EQ(edit_.cursorPosition(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, NaturalEditArrows,
                         ::testing::Values(StepCase{"5", "btnUp", "11"}, StepCase{"999", "btnUp", "999"},
                                           StepCase{"10", "btnDown", "10"},
                                           StepCase{"5000", "btnDown", "998"},
                                           StepCase{"abc", "btnUp", "11"}),
                         [](const auto& tested) {
                           return test::SpelledName(tested.param.text) + "_" + tested.param.arrow;
                         });

TEST_F(NaturalEditTest, TextBeyondTheBoundsIsShownAndReadClamped) {
  edit_.SetValue(5000);
  EXPECT_EQ(edit_.text(), "5000");
  EXPECT_EQ(edit_.Value(), 999);
  edit_.setText("3");
  edit_.SetMinValue(20);
  EXPECT_EQ(edit_.text(), "3");
  edit_.SetMinValue(2000);  // above MaxValue
  EXPECT_EQ(edit_.text(), "2000");
  EXPECT_EQ(edit_.Value(), 999);
}

class ColorEditTest : public ::testing::Test {
protected:
  // Clicks the swatch; the colour dialog gets the chosen colour, or a cancel.
  void ClickAndChoose(const QColor* chosen) {
    test::DialogAnswerer dialogs;
    dialogs.Answer<QColorDialog>([chosen](QColorDialog& dialog) {
      EXPECT_EQ(dialog.currentColor(), QColor(0x56, 0x34, 0x12));
      if (!chosen) return dialog.reject();
      dialog.setCurrentColor(*chosen);
      dialog.accept();
    });
    QTest::mouseClick(&edit_, Qt::LeftButton);
  }

  QColor CenterPixel() { return edit_.grab().toImage().pixelColor(25, 10); }

  TColorEdit edit_;
  QSignalSpy changes_{&edit_, &TColorEdit::OnChange};
};

TEST_F(ColorEditTest, ASystemColourPaintsWhatThePaletteShowsInABlackFrame) {
  EXPECT_EQ(edit_.Color(), clWindow);
  EXPECT_EQ(CenterPixel(), QApplication::palette().color(QPalette::Active, QPalette::Base));
  EXPECT_EQ(edit_.grab().toImage().pixelColor(0, 0), QColor(Qt::black));
}

TEST_F(ColorEditTest, CancelChangesNothingAndOkAlwaysReportsAChange) {
  edit_.SetColor(0x123456);  // $00BBGGRR
  ClickAndChoose(nullptr);
  EXPECT_EQ(changes_.count(), 0);
  const QColor same(0x56, 0x34, 0x12);
  ClickAndChoose(&same);
  EXPECT_EQ(edit_.Color(), 0x123456);
  EXPECT_EQ(changes_.count(), 1);
  EXPECT_EQ(CenterPixel(), same);
}

}  // namespace
}  // namespace tessalune

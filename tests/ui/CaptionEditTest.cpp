// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptionEdit.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>

#include "DialogAnswerer.h"

namespace tessalune {
namespace {

QPlainTextEdit& Memo(QWidget& form) { return *form.findChild<QPlainTextEdit*>("mmCaption"); }

// Runs the editor on text; user acts once it is shown.
bool Edit(std::string& text, const std::function<void(TfrmCaptionEditor&)>& user) {
  test::DialogAnswerer answerer;
  answerer.Answer<TfrmCaptionEditor>(user);
  return EditImageDescription(text);
}

void PressEnter(TfrmCaptionEditor& form) { QTest::keyClick(&Memo(form), Qt::Key_Return); }

void TypeAtEnd(TfrmCaptionEditor& form, const char* text) {
  Memo(form).moveCursor(QTextCursor::End);
  QTest::keyClicks(&Memo(form), text);
}

TEST(EditImageDescription, SeveralLinesShowAsLinesAndComeBackUnchangedOnEnter) {
  std::string text = "First line\r\nSecond line\r\n\r\nafter a blank line";
  std::string shown;
  EXPECT_TRUE(Edit(text, [&](TfrmCaptionEditor& form) {
    shown = Memo(form).toPlainText().toStdString();
    PressEnter(form);
  }));
  EXPECT_EQ(shown, "First line\nSecond line\n\nafter a blank line");
  EXPECT_EQ(text, "First line\r\nSecond line\r\n\r\nafter a blank line");
}

TEST(EditImageDescription, LoneLineFeedsAndReturnsBecomePairs) {
  std::string text = "one\ntwo\rthree\r\n";
  EXPECT_TRUE(Edit(text, PressEnter));
  EXPECT_EQ(text, "one\r\ntwo\r\nthree\r\n");
  std::string pasted;
  EXPECT_TRUE(Edit(pasted, [](TfrmCaptionEditor& form) {
    QApplication::clipboard()->setText("pasted\nlines\rhere");
    Memo(form).paste();
    PressEnter(form);
  }));
  EXPECT_EQ(pasted, "pasted\r\nlines\r\nhere");
}

TEST(EditImageDescription, CancelAndEscapeLeaveTheDescription) {
  std::string text = "kept\nas it was";
  EXPECT_FALSE(Edit(text, [](TfrmCaptionEditor& form) {
    TypeAtEnd(form, " changed");
    QTest::keyClick(&Memo(form), Qt::Key_Escape);
  }));
  EXPECT_FALSE(Edit(text, [](TfrmCaptionEditor& form) {
    TypeAtEnd(form, " changed");
    form.findChild<QWidget*>("btnCancel")->setFocus();
    QTest::mouseClick(form.findChild<QWidget*>("btnCancel"), Qt::LeftButton);
  }));
  EXPECT_EQ(text, "kept\nas it was");
}

TEST(EditImageDescription, EmptyStaysEmptyThroughTheKeypadEnter) {
  std::string text;
  EXPECT_TRUE(Edit(text, [](TfrmCaptionEditor& form) {
    EXPECT_TRUE(Memo(form).toPlainText().isEmpty());
    QTest::keyClick(&Memo(form), Qt::Key_Enter, Qt::KeypadModifier);
  }));
  EXPECT_EQ(text, "");
}

TEST(EditImageDescription, CtrlEnterStartsALineAndShiftEnterCloses) {
  std::string text = "Sunset";
  EXPECT_TRUE(Edit(text, [](TfrmCaptionEditor& form) {
    EXPECT_EQ(form.focusWidget(), &Memo(form));
    Memo(form).moveCursor(QTextCursor::End);
    QTest::keyClick(&Memo(form), Qt::Key_Return, Qt::ControlModifier);
    TypeAtEnd(form, "at the lake");
    QTest::keyClick(&Memo(form), Qt::Key_Return, Qt::ShiftModifier);
  }));
  EXPECT_EQ(text, "Sunset\r\nat the lake");
}

// Old galleries may hold descriptions in a single-byte code page: Enter
// without an edit must not turn those bytes into replacement characters.
TEST(EditImageDescription, BytesThatAreNoUtf8SurviveWhenNothingWasEdited) {
  std::string text = "Caf\xE9 na\xEFve\nend";
  EXPECT_TRUE(Edit(text, PressEnter));
  EXPECT_EQ(text, "Caf\xE9 na\xEFve\r\nend");
}

TEST(EditImageDescription, AnEditKeepsNoBreakSpaces) {
  std::string text = "100\xC2\xA0km";
  EXPECT_TRUE(Edit(text, [](TfrmCaptionEditor& form) {
    TypeAtEnd(form, "!");
    PressEnter(form);
  }));
  EXPECT_EQ(text, "100\xC2\xA0km!");
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionsDlg.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "DialogAnswerer.h"
#include "EditLib.h"

namespace tessalune {
namespace {

TNaturalEdit& Field(QWidget& form, const char* name) {
  return *form.findChild<TNaturalEdit*>(name);
}

TEST(ShowOptionsDialog, OpensWithTheDefaultsWhateverWasEnteredBefore) {
  test::DialogAnswerer answerer;
  std::vector<int> shown;
  const auto enterAndClose = [&](TfrmOptions& form, const char* button) {
    for (const char* name : {"NaturalEdit2", "NaturalEdit3", "NaturalEdit1"}) {
      shown.push_back(Field(form, name).Value());
      Field(form, name).setText("42");
    }
    form.findChild<QPushButton*>(button)->click();
  };
  answerer.Answer<TfrmOptions>([&](TfrmOptions& form) { enterAndClose(form, "btnOK"); });
  answerer.Answer<TfrmOptions>([&](TfrmOptions& form) { enterAndClose(form, "btnCancel"); });
  answerer.Answer<TfrmOptions>([](TfrmOptions& form) { QTest::keyClick(&form, Qt::Key_Escape); });
  EXPECT_TRUE(ShowOptionsDialog());
  EXPECT_FALSE(ShowOptionsDialog());
  EXPECT_FALSE(ShowOptionsDialog());
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 10, 0, 0, 10}));
}

TEST(TfrmOptions, TheHistoryFieldTakesTwoDigits) {
  TfrmOptions form;
  TNaturalEdit& history = Field(form, "NaturalEdit1");
  history.clear();
  QTest::keyClicks(&history, "123");
  EXPECT_EQ(history.text(), "12");
  EXPECT_EQ(history.MaxValue(), 99);
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpTopics.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "TestSupport.h"

namespace tessalune {
namespace {

TEST(HelpFolder, LiesBesideTheExecutable) {
  EXPECT_EQ(HelpFolder(), QApplication::applicationDirPath().toStdString() + "/Help");
}

// Topics 60 and 70 installed; a window with a group that has help, an edit
// inside it without, and one with help of its own.
class HelpTopicsTest : public ::testing::Test {
protected:
  HelpTopicsTest() : help_(box_.File("Help")) {
    box_.Write("Help/60.html", "<h2>Thumbnails sub-folder</h2>");
    box_.Write("Help/70.html", "<h2>Thumbnails prefix</h2>");
    auto* layout = new QVBoxLayout(group_);
    layout->addWidget(plain_);
    layout->addWidget(own_);
    (new QVBoxLayout(&window_))->addWidget(group_);
    SetHelpContext(*group_, 60);
    SetHelpContext(*own_, 70);
  }

  test::Sandbox box_;
  ScopedHelpFolder help_;
  QDialog window_;
  QGroupBox* group_ = new QGroupBox("Group");
  QLineEdit* plain_ = new QLineEdit;
  QLineEdit* own_ = new QLineEdit;
};

TEST_F(HelpTopicsTest, ATopicIsTheFileNamedAfterItsNumber) {
  EXPECT_EQ(HelpTopicFile(360), box_.File("Help") + "/360.html");
  EXPECT_EQ(HelpTopicText(60), "<h2>Thumbnails sub-folder</h2>");
  EXPECT_EQ(HelpTopicText(61), "");  // not installed
  EXPECT_EQ(HelpTopicText(0), "");
}

TEST_F(HelpTopicsTest, AControlWithoutHelpShowsThatOfItsNearestEnclosingControlInItsWindow) {
  EXPECT_EQ(HelpContext(*own_), 70);
  EXPECT_EQ(HelpContext(*plain_), 0);
  EXPECT_EQ(HelpControl(own_), own_);
  EXPECT_EQ(HelpControl(plain_), group_);
  EXPECT_EQ(HelpControl(&window_), nullptr);
  QDialog inner(plain_);
  EXPECT_EQ(HelpControl(new QLineEdit(&inner)), nullptr);
  SetHelpContext(*own_, 80);  // not installed
  EXPECT_EQ(HelpContext(*own_), 80);
  EXPECT_EQ(HelpControl(own_), group_);
  SetHelpContext(*group_, 0);
  EXPECT_EQ(HelpControl(plain_), nullptr);
}

bool PopupShown() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->inherits("QWhatsThat")) return true;
  return false;
}

TEST_F(HelpTopicsTest, F1ShowsTheHelpOfTheFocusedControlInAPopup) {
  InstallControlHelp(window_);
  EXPECT_TRUE(window_.windowFlags() & Qt::WindowContextHelpButtonHint);
  window_.show();
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  SetHelpContext(*group_, 0);
  plain_->setFocus();
  QTest::keyClick(plain_, Qt::Key_F1);
  EXPECT_FALSE(PopupShown());
  own_->setFocus();
  QTest::keyClick(own_, Qt::Key_F1);
  EXPECT_TRUE(PopupShown());
  QWhatsThis::hideText();
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "CopyAnimation.h"
#include "ProgressDlg.h"

namespace tessalune {
namespace {

// The main window and the publishing dialog over it, with the progress
// window placed by the dialog.
class ProgressDlgTest : public ::testing::Test {
protected:
  ProgressDlgTest() {
    main_.show();
    dialog_->show();
  }

  QPushButton& Cancel() { return *progress_.findChild<QPushButton*>("btnCancel"); }
  bool Busy() const { return QApplication::overrideCursor() != nullptr; }

  QWidget main_;
  QWidget* dialog_ = new QWidget(&main_, Qt::Dialog);
  TfrmProgress progress_{dialog_};
};

TEST_F(ProgressDlgTest, WhileShownEveryOtherWindowIsDisabled) {
  QWidget disabled;
  disabled.show();
  disabled.setEnabled(false);
  auto destroyed = std::make_unique<QWidget>();
  destroyed->show();
  progress_.Start();
  EXPECT_TRUE(progress_.isEnabled());
  EXPECT_FALSE(main_.isEnabled() || dialog_->isEnabled() || destroyed->isEnabled());
  EXPECT_TRUE(Busy());
  EXPECT_TRUE(progress_.findChild<TCopyAnimation*>()->Running());
  destroyed.reset();
  progress_.Finish();
  EXPECT_FALSE(progress_.isVisible());
  EXPECT_TRUE(main_.isEnabled() && dialog_->isEnabled());
  EXPECT_FALSE(disabled.isEnabled());
  EXPECT_FALSE(Busy());
  EXPECT_FALSE(progress_.findChild<TCopyAnimation*>()->Running());
}

TEST_F(ProgressDlgTest, CancelTwiceIsCancelOnceAndTheWindowStays) {
  progress_.Start();
  Cancel().click();
  Cancel().click();
  EXPECT_TRUE(progress_.Cancelled());
  EXPECT_TRUE(progress_.isVisible());
  progress_.Finish();
  progress_.Start();
  EXPECT_FALSE(progress_.Cancelled());
}

TEST_F(ProgressDlgTest, ACloseRequestCancelsAndFreesTheOtherWindowsAtOnce) {
  progress_.Start();
  EXPECT_TRUE(progress_.close());
  EXPECT_TRUE(progress_.Cancelled());
  EXPECT_TRUE(main_.isEnabled());
  EXPECT_TRUE(Busy());  // until the run finishes
  main_.setEnabled(false);
  progress_.Finish();
  EXPECT_FALSE(main_.isEnabled());  // the windows were given back once
  EXPECT_FALSE(Busy());
}

// Work on the interface thread lets events run after each report; a press of
// Cancel queued meanwhile answers the next report.
TEST_F(ProgressDlgTest, WorkOnTheInterfaceThreadSeesCancelAtItsNextReport) {
  progress_.Start();
  int reports = 0;
  for (int percent = 0; percent <= 100 && !progress_.Cancelled(); percent += 10, ++reports) {
    progress_.SetText("Writing page_" + std::to_string(percent) + ".html");
    progress_.SetPosition(percent);
    if (percent == 30) QTimer::singleShot(0, &Cancel(), &QPushButton::click);
    QApplication::processEvents();
  }
  EXPECT_EQ(reports, 4);
}

TEST(ProgressDlg, DeletingItWhileShownGivesEverythingBack) {
  QWidget main;
  main.show();
  auto progress = std::make_unique<TfrmProgress>(&main);
  progress->Start();
  progress.reset();
  EXPECT_TRUE(main.isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tessalune

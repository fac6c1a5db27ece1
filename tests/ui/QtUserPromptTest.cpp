// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "DialogAnswerer.h"
#include "QtUserPrompt.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

using Texts = std::vector<std::string>;

// The buttons' captions from left to right.
Texts ButtonsInOrder(QMessageBox& box) {
  QList<QAbstractButton*> buttons = box.buttons();
  std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
  Texts captions;
  for (QAbstractButton* button : buttons) captions.push_back(button->text().toStdString());
  return captions;
}

class QtUserPromptTest : public ::testing::Test {
protected:
  TModalResult Ask(TMsgDlgButtons buttons, std::function<void(QMessageBox&)> answer) {
    test::DialogAnswerer dialogs;
    dialogs.Answer<QMessageBox>(std::move(answer));
    request_.Buttons = buttons;
    return prompt_.MessageDlg(request_);
  }

  TMessageDlgRequest request_{"Save <b>changes</b>?", TMsgDlgType::mtConfirmation};
  TQtUserPrompt prompt_;
};

TEST_F(QtUserPromptTest, ButtonsKeepTheDialogsOrderAndYesIsTheDefault) {
  request_.ScreenCenter = true;
  const TModalResult result = Ask(mbYesToAll | mbNoToAll | mbCancel | mbNo | mbYes, [](QMessageBox& box) {
    EXPECT_EQ(ButtonsInOrder(box), (Texts{"&Yes", "&No", "Cancel", "N&o to All", "Yes to &All"}));
    EXPECT_EQ(box.windowTitle(), "Confirm");
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    EXPECT_EQ(box.defaultButton()->text(), "&Yes");
    const QPoint offset = box.frameGeometry().center() - box.screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 1);
    for (QAbstractButton* button : box.buttons())
      if (button->text() == "N&o to All") button->click();
  });
  EXPECT_EQ(result, mrNoToAll);
}

TEST_F(QtUserPromptTest, EscapePressesCancelElseNoAndTheCloseBoxAnswersCancel) {
  const auto escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
  EXPECT_EQ(Ask(mbYes | mbNo | mbCancel, escape), mrCancel);
  EXPECT_EQ(Ask(mbYes | mbNo, escape), mrNo);
  EXPECT_EQ(Ask(mbYes | mbNo, [](QMessageBox& box) { box.close(); }), mrCancel);
}

TEST_F(QtUserPromptTest, TheErrorBoxCarriesTheApplicationsTitle) {
  test::DialogAnswerer dialogs;
  dialogs.Answer<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), "Tessalune");
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(box.text(), "Cannot open file <a>.gmf.");
    QTest::keyClick(&box, Qt::Key_Return);
  });
  prompt_.ShowErrorMessage("Cannot open file <a>.gmf.");
}

// Catches a file name without blanks running past the box's edge, cut off:
// the label holds every character of it on lines within the box.
TEST_F(QtUserPromptTest, ALongFileNameWrapsInsideTheBox) {
  request_.Message = "These pictures kept their names:\n/pictures/" + std::string(300, 'a') + ".jpg";
  Ask(mbOK, [this](QMessageBox& box) {
    auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    EXPECT_LE(label->minimumSizeHint().width(), label->width());
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_TRUE(box.rect().contains(label->geometry()));
    EXPECT_EQ(label->text().remove(QChar(0x200B)).toStdString(), request_.Message);
    box.buttons().front()->click();
  });
}

TEST(FileDialogNameFilters, MatchEveryFileForStarDotStar) {
  EXPECT_EQ(FileDialogNameFilters("Gallery Files|*.gmf|All Files|*.*|Odd"),
            (QStringList{"Gallery Files (*.gmf)", "All Files (*)"}));
  EXPECT_EQ(FileDialogNameFilters("Pictures|*.jpg;*.gif"), QStringList{"Pictures (*.jpg *.gif)"});
}

TEST_F(QtUserPromptTest, AnOpenDialogMayTakeTheNameOfAFileNotThereYet) {
  test::Sandbox files;
  TFileDialogRequest request;
  request.Filter = "Gallery Files|*.gmf|All Files|*.*";
  request.FilterIndex = 2;
  request.FileMustExist = false;
  test::DialogAnswerer dialogs;
  dialogs.Answer<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.selectedNameFilter(), "All Files (*)");
    dialog.selectFile(QString::fromStdString(files.File("new.gmf")));
    test::Accept(dialog);
  });
  std::vector<std::string> chosen;
  ASSERT_TRUE(prompt_.OpenDialog(request, chosen));
  EXPECT_EQ(chosen, Texts{files.File("new.gmf")});
}

}  // namespace
}  // namespace tessalune

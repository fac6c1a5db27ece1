// SPDX-License-Identifier: GPL-3.0-or-later
// The whole road through the real main window: a new gallery from a folder
// of pictures, a move, a description of two lines, publishing with the
// default template, saving, closing, and a second window reopening the file.
#include <gtest/gtest.h>

#include <filesystem>

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "DialogAnswerer.h"
#include "GalleryProp.h"
#include "ImageView.h"
#include "MainFormFixture.h"
#include "PrjLib.h"

namespace tessalune::test {
namespace {

void AddFolder(TfrmMain& window, const std::string& folder) {
  DialogAnswerer dialogs;
  dialogs.Answer<QFileDialog>([folder](QFileDialog& picker) {
    picker.setDirectory(QString::fromStdString(folder));
    Accept(picker);
  });
  window.findChild<QAction*>("acnAddFolder")->trigger();
}

// Types two lines into the description editor: Ctrl+Enter breaks the line,
// Enter is OK.
void Describe(TfrmMain& window) {
  DialogAnswerer dialogs;
  dialogs.Answer<QDialog>([](QDialog& editor) {
    auto* memo = editor.findChild<QPlainTextEdit*>("mmCaption");
    QTest::keyClicks(memo, "Harbour & boats");
    QTest::keyClick(memo, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(memo, "at dawn");
    QTest::keyClick(memo, Qt::Key_Return);
  });
  QTest::mouseDClick(window.ImageView().viewport(), Qt::LeftButton, {},
                     window.ImageView().visualRect(window.ImageView().model()->index(0, 0)).center());
}

// Publishes into out with the pictures' descriptions on the pages, then
// closes the dialog.
void Publish(TfrmMain& window, const std::string& out) {
  DialogAnswerer dialogs;
  dialogs.Answer<QDialog>([out](QDialog& publishing) {
    publishing.findChild<QLineEdit*>("edtOutFolder")->setText(QString::fromStdString(out));
    publishing.findChild<QCheckBox*>("cbxShowIconCaption")->setChecked(true);
    publishing.findChild<QCheckBox*>("cbxShowImageCaption")->setChecked(true);
    publishing.findChild<QPushButton*>("btnOk")->click();
    publishing.findChild<QPushButton*>("btnCancel")->click();
  });
  window.findChild<QAction*>("acnPublish")->trigger();
}

TEST_F(MainFormTest, AGalleryIsMadePublishedSavedAndReopened) {
  for (const char* name : {"trip/beach.bmp", "trip/cliffs.bmp", "trip/dunes.bmp", "trip/harbour.bmp"})
    Picture(name, 320, 240);
  const std::string out = config_.Files().File("web");
  const std::string file = config_.Files().File("trip.gmf");

  Start();
  Trigger("acnNew");
  AddFolder(Window(), config_.Files().File("trip"));
  ASSERT_EQ(ListNames(), (std::vector<std::string>{"beach.bmp", "cliffs.bmp", "dunes.bmp", "harbour.bmp"}));
  Select({3});
  Trigger("acnMoveTop");
  Select({0});
  Describe(Window());
  EXPECT_EQ(Window().Gallery().GetImageFile(0)->Caption, "Harbour & boats\r\nat dawn");
  Publish(Window(), out);
  EXPECT_TRUE(prompt_.Errors().empty());
  EXPECT_EQ(opened_, std::vector<std::string>{"file://" + out + "/index.html"});
  prompt_.ChooseSaveName(file);
  Trigger("acnSave");
  EXPECT_FALSE(Window().Project().Modified());
  EXPECT_TRUE(Window().close());

  Start();
  QMenu& reopen = Find<QMenu>("miReopen");
  ASSERT_EQ(reopen.actions().size(), 1);
  reopen.actions()[0]->trigger();
  EXPECT_EQ(Window().windowTitle().toStdString(), "Tessalune - " + file);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"harbour.bmp", "beach.bmp", "cliffs.bmp", "dunes.bmp"}));
  EXPECT_EQ(Window().Gallery().GetImageFile(0)->Caption, "Harbour & boats\r\nat dawn");
  EXPECT_EQ(Window().Gallery().OutputFolder(), out);
  EXPECT_EQ(Window().StatusText(0), "4 picture(s)");

  const std::string saved = ReadBytes(file);
  EXPECT_LT(saved.find("harbour.bmp"), saved.find("beach.bmp"));
  const std::string index = ReadBytes(out + "/index.html");
  EXPECT_NE(index.find("Harbour &amp; boats<br>at dawn"), std::string::npos) << index;
  EXPECT_LT(index.find("harbour"), index.find("beach"));
  for (const char* page : {"image_1.html", "thums/th_harbour.jpg", "thums/th_dunes.jpg"})
    EXPECT_TRUE(std::filesystem::exists(out + "/" + page)) << page;
  EXPECT_NE(ReadBytes(out + "/image_1.html").find("Harbour &amp; boats<br>at dawn"), std::string::npos);
}

}  // namespace
}  // namespace tessalune::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRename.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "DialogAnswerer.h"
#include "RenameTestSupport.h"
#include "ScriptedPrompt.h"

namespace tessalune {
namespace {

using test::Files;
using test::Names;
using Rows = std::vector<std::pair<std::string, std::string>>;

template <class Control = QWidget>
Control& Find(QWidget& form, const char* name) {
  auto* control = form.findChild<Control*>(name);
  if (!control) throw std::runtime_error(std::string("no control ") + name);
  return *control;
}

QCheckBox& Check(QWidget& form, const char* name) { return Find<QCheckBox>(form, name); }
QLineEdit& Edit(QWidget& form, const char* name) { return Find<QLineEdit>(form, name); }

// The preview's rows: old name, new name.
Rows Preview(QWidget& form) {
  const QAbstractItemModel& model = *Find<QTreeView>(form, "lvwExamples").model();
  Rows rows;
  for (int row = 0; row < model.rowCount(); ++row) {
    rows.emplace_back(model.index(row, 0).data().toString().toStdString(),
                      model.index(row, 1).data().toString().toStdString());
  }
  return rows;
}

class TlRenameTest : public ::testing::Test {
protected:
  TlRenameTest() {
    for (const char* name : {"photo.JPG", "b.gif", "c.jpeg"}) folder_.AddPicture(name);
    form_.Gallery = &folder_.Gallery;
    form_.Refresh();
  }
  bool Enabled(std::initializer_list<const char*> names) {
    bool all = true;
    for (const char* name : names) all = all && Find(form_, name).isEnabled();
    return all;
  }

  test::RenameSandbox folder_;
  test::ScriptedPrompt prompt_;
  TfrmTlRename form_;
};

TEST_F(TlRenameTest, OpensWithEveryOptionOffAndTheNamesUnchanged) {
  EXPECT_FALSE(Check(form_, "cbxLowerCase").isChecked() || Check(form_, "cbxRename").isChecked() ||
               Check(form_, "cbxChangeExt").isChecked());
  EXPECT_EQ(Edit(form_, "edtPrefix").text() + Edit(form_, "edtDigits").text() +
                Edit(form_, "edtStart").text(),
            "image31");
  for (const char* name : {"btnOK", "edtPrefix", "edtDigits", "edtStart", "edtOldExt", "edtNewExt"})
    EXPECT_FALSE(Enabled({name})) << name;
  EXPECT_EQ(Preview(form_),
            (Rows{{"photo.JPG", "photo.JPG"}, {"b.gif", "b.gif"}, {"c.jpeg", "c.jpeg"}}));
  const QAbstractItemModel& model = *Find<QTreeView>(form_, "lvwExamples").model();
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString() + "|" +
                model.headerData(1, Qt::Horizontal).toString(),
            "Old name|New name");
}

TEST_F(TlRenameTest, EachOptionEnablesItsFieldsAndRenameAndThePreviewFollows) {
  Check(form_, "cbxRename").setChecked(true);
  EXPECT_TRUE(Enabled({"edtPrefix", "edtDigits", "edtStart", "btnOK"}));
  EXPECT_FALSE(Enabled({"edtOldExt"}));
  EXPECT_TRUE(Find<QPushButton>(form_, "btnOK").isDefault());
  EXPECT_EQ(Preview(form_)[2], (std::pair<std::string, std::string>{"c.jpeg", "image003.jpeg"}));
  Check(form_, "cbxLowerCase").setChecked(true);
  Edit(form_, "edtPrefix").setText("Trip");
  EXPECT_EQ(Preview(form_)[0].second, "trip001.jpg");

  Check(form_, "cbxRename").setChecked(false);
  Check(form_, "cbxChangeExt").setChecked(true);
  EXPECT_TRUE(Enabled({"edtOldExt", "edtNewExt"}));
  Edit(form_, "edtOldExt").setText("JPEG");
  Edit(form_, "edtNewExt").setText("jpg");
  EXPECT_EQ(Preview(form_),
            (Rows{{"photo.JPG", "photo.jpg"}, {"b.gif", "b.gif"}, {"c.jpeg", "c.jpg"}}));
  Check(form_, "cbxLowerCase").setChecked(false);
  Check(form_, "cbxChangeExt").setChecked(false);
  EXPECT_FALSE(Enabled({"btnOK"}) || Find<QPushButton>(form_, "btnOK").isDefault());
}

TEST_F(TlRenameTest, AnEmptyOrNonNumericNumberFieldCountsAsZero) {
  Check(form_, "cbxRename").setChecked(true);
  Edit(form_, "edtDigits").setText("");
  EXPECT_EQ(Preview(form_)[0].second, "image1.JPG");
  Edit(form_, "edtDigits").setText("4");
  Edit(form_, "edtStart").setText("one");
  EXPECT_EQ(Preview(form_)[2].second, "image0002.jpeg");
}

TEST_F(TlRenameTest, TypedCharactersThatNoExtensionHoldsAreDropped) {
  Check(form_, "cbxChangeExt").setChecked(true);
  for (const char* name : {"edtOldExt", "edtNewExt"}) {
    QTest::keyClicks(&Edit(form_, name), ".j*p\\g/ :?\"<>|2");
    EXPECT_EQ(Edit(form_, name).text(), "jpg 2") << name;
  }
  Check(form_, "cbxRename").setChecked(true);
  QTest::keyClicks(&Edit(form_, "edtPrefix"), "/2024.");
  EXPECT_EQ(Edit(form_, "edtPrefix").text(), "image2024.");
}

TEST_F(TlRenameTest, RenameClosesWithOkAlsoAfterCancelInTheQuestion) {
  Check(form_, "cbxRename").setChecked(true);
  folder_.AddOther("image001.JPG");
  prompt_.Answer(mrCancel);
  Find<QPushButton>(form_, "btnOK").click();
  EXPECT_EQ(form_.result(), QDialog::Accepted);
  EXPECT_EQ(folder_.Names(), (Names{"photo.JPG", "b.gif", "c.jpeg"}));
}

TEST(ShowRenameDialog, EnterRenamesAndEscapeTouchesNothing) {
  test::RenameSandbox folder;
  folder.AddPicture("A.JPG");
  test::DialogAnswerer answerer;
  answerer.Answer<TfrmTlRename>([](TfrmTlRename& form) {
    Check(form, "cbxLowerCase").setChecked(true);
    QTest::keyClick(&form, Qt::Key_Escape);
  });
  ShowRenameDialog(folder.Gallery);
  EXPECT_EQ(folder.Names(), (Names{"A.JPG"}));
  Rows shown;
  answerer.Answer<TfrmTlRename>([&](TfrmTlRename& form) {
    Check(form, "cbxLowerCase").setChecked(true);
    shown = Preview(form);
    QTest::keyClick(&form, Qt::Key_Return);
  });
  ShowRenameDialog(folder.Gallery);
  EXPECT_EQ(shown, (Rows{{"A.JPG", "a.jpg"}}));
  EXPECT_EQ(folder.Files(), (Files{{"a.jpg", "A.JPG"}}));
  EXPECT_EQ(folder.Names(), (Names{"a.jpg"}));
}

TEST(ShowRenameDialog, AnEmptyGalleryShowsNoRowsAndRenamesNothing) {
  TPicGallery gallery;
  test::DialogAnswerer answerer;
  std::size_t rows = 1;
  answerer.Answer<TfrmTlRename>([&](TfrmTlRename& form) {
    rows = Preview(form).size();
    Check(form, "cbxRename").setChecked(true);
    Find<QPushButton>(form, "btnOK").click();
  });
  ShowRenameDialog(gallery);
  EXPECT_EQ(rows, 0u);
  EXPECT_EQ(gallery.GetImageCount(), 0);
}

}  // namespace
}  // namespace tessalune

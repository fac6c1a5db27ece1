// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>

#include "ConfigSandbox.h"
#include "DialogAnswerer.h"
#include "Errors.h"
#include "PathDialog.h"
#include "ScriptedPrompt.h"

namespace tessalune {
namespace {

std::string Current() { return std::filesystem::current_path().string(); }

// Catches the root losing its only "/" and so naming the current directory.
TEST(PathDialog, SetDirectoryDropsOneTrailingSeparatorAndFillsInTheCurrentDirectory) {
  TPathDialog dialog;
  for (const auto& [value, directory] : std::vector<std::pair<std::string, std::string>>{
           {"/home/ann/out/", "/home/ann/out"}, {"/home//", "/home/"}, {"/", "/"}, {"", Current()}}) {
    dialog.SetDirectory(value);
    EXPECT_EQ(dialog.Directory(), directory) << value;
  }
}

class PathDialogTest : public ::testing::Test {
protected:
  bool Execute(std::function<void(QFileDialog&)> answer) {
    test::DialogAnswerer dialogs;
    dialogs.Answer<QFileDialog>(std::move(answer));
    return dialog_.Execute();
  }

  test::ConfigSandbox config_;
  TPathDialog dialog_;
};

TEST_F(PathDialogTest, AnEmptyDirectoryOpensOnTheCurrentOneAndStaysSoAfterCancel) {
  EXPECT_EQ(dialog_.Directory(), "");
  EXPECT_FALSE(Execute([](QFileDialog& shown) {
    EXPECT_EQ(shown.directory().absolutePath().toStdString(), Current());
    shown.reject();
  }));
  EXPECT_EQ(dialog_.Directory(), Current());
}

TEST_F(PathDialogTest, TheRootOpensOnTheRoot) {
  dialog_.SetDirectory("/");
  EXPECT_FALSE(Execute([](QFileDialog& shown) {
    EXPECT_EQ(shown.directory().absolutePath().toStdString(), "/");
    shown.reject();
  }));
}

// Without its own start the dialog would show the folder it showed last.
TEST_F(PathDialogTest, AFolderStillToBeMadeOpensOnItsNearestExistingParent) {
  config_.Files().Write("seen/x", "");
  config_.Files().Write("out/x", "");
  const std::string out = config_.Files().File("out");
  dialog_.SetDirectory(config_.Files().File("seen"));
  EXPECT_FALSE(Execute([](QFileDialog& shown) { shown.reject(); }));
  dialog_.SetDirectory(out + "/gallery/2024");
  EXPECT_TRUE(Execute([&](QFileDialog& shown) {
    EXPECT_EQ(shown.directory().absolutePath().toStdString(), out);
    test::Accept(shown);
  }));
  EXPECT_EQ(dialog_.Directory(), out);
}

TEST_F(PathDialogTest, AFailingSelectHandlerIsShownAndBrowsingGoesOn) {
  test::ScriptedPrompt prompt;
  prompt.Answer(mrOk);
  const std::string sub = config_.Files().File("a/b");
  config_.Files().Write("a/b/x", "");
  dialog_.SetDirectory(config_.Files().File("a") + "/");
  EXPECT_TRUE(Execute([&](QFileDialog& shown) {
    dialog_.OnSelect = [](TPathDialog&, const std::string&) { throw Exception("Not this folder"); };
    auto* model = shown.findChild<QFileSystemModel*>();
    shown.findChild<QListView*>("listView")->setCurrentIndex(model->index(QString::fromStdString(sub)));
    EXPECT_TRUE(shown.isVisible());
    test::Accept(shown);
  }));
  ASSERT_EQ(prompt.Questions().size(), 1u);
  EXPECT_EQ(prompt.Questions()[0].Message, "Not this folder");
  EXPECT_EQ(prompt.Questions()[0].Kind, TMsgDlgType::mtCustom);
  EXPECT_EQ(dialog_.Directory(), sub);
}

}  // namespace
}  // namespace tessalune

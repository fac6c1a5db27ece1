// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's gallery files and settings: adding pictures from the
// folder last used, closing with the save prompt, the reopen list, the view
// settings across a restart, a settings store that cannot be written or
// holds values of another type, a gallery file that cannot be read, one that
// cannot be written, and the gallery file after Rename Images, also when it
// cannot be written, while the rename asks, and when a new name is the
// gallery file itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <sys/stat.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QMenu>
#include <QTest>

#include "DialogAnswerer.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "ImageView.h"
#include "MainSidePanel.h"
#include "MainFormFixture.h"
#include "PrjLib.h"
#include "Registry.h"
#include "RenameTestSupport.h"
#include "TestSupport.h"
#include "TlRename.h"

namespace tessalune::test {
namespace {

// Answers the folder picker with folder, after checking where it started.
void ChooseFolder(DialogAnswerer& dialogs, const std::string& start, const std::string& folder) {
  dialogs.Answer<QFileDialog>([start, folder](QFileDialog& picker) {
    EXPECT_EQ(picker.windowTitle(), "Select the folder with images");
    EXPECT_EQ(picker.directory().absolutePath().toStdString(), start);
    picker.setDirectory(QString::fromStdString(folder));
    Accept(picker);
  });
}

// Catches Add Folder taking sub-folders or hidden files, or not starting
// where pictures were last added.
TEST_F(MainFormTest, AddFolderAddsTheFolderFilesAndRemembersTheFolder) {
  Start();
  const std::string folder = config_.Files().File("trip");
  Picture("trip/b.bmp");
  Picture("trip/a.bmp");
  Picture("trip/.hidden.bmp");
  Picture("trip/sub/c.bmp");
  DialogAnswerer dialogs;
  ChooseFolder(dialogs, documents_, folder);
  Trigger("acnAddFolder");
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_EQ(ListNames(), GalleryNames());
  EXPECT_EQ(Window().DefaultImageFolder, folder);
  EXPECT_TRUE(Window().Project().Modified());
  ChooseFolder(dialogs, folder, folder + "/sub");
  Trigger("acnAddFolder");
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp"}));
}

TEST_F(MainFormTest, AddFolderWithoutAFolderToStartFromStartsAtTheRoot) {
  Start().DefaultImageFolder.clear();
  DialogAnswerer dialogs;
  dialogs.Answer<QFileDialog>([](QFileDialog& picker) {
    EXPECT_EQ(picker.directory().absolutePath(), "/");
    picker.reject();
  });
  Trigger("acnAddFolder");
  EXPECT_FALSE(Window().Project().Modified());
}

// Catches the open dialog asked for without its picture preview or filter,
// and the folder of a later pick not being remembered.
TEST_F(MainFormTest, AddImagesAsksForPicturesAndRemembersTheirFolder) {
  Start();
  AddImages({Picture("day/b.bmp"), Picture("day/a.bmp")});
  ASSERT_EQ(prompt_.OpenRequests().size(), 1u);
  const TFileDialogRequest& request = prompt_.OpenRequests()[0];
  EXPECT_EQ(request.Title, "Select the images");
  EXPECT_EQ(request.InitialDir, documents_);
  EXPECT_TRUE(request.AllowMultiSelect && request.PicturePreview);
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_EQ(request.Filter.substr(0, 49), "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|");
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_EQ(Window().DefaultImageFolder, config_.Files().File("day"));
  prompt_.CancelOpen();
  Trigger("acnAddFiles");
  EXPECT_EQ(prompt_.OpenRequests()[1].InitialDir, config_.Files().File("day"));
  DialogAnswerer dialogs;
  ChooseFolder(dialogs, config_.Files().File("day"), config_.Files().File("day"));
  prompt_.Answer(mrNoToAll);
  Trigger("acnAddFolder");
  EXPECT_EQ(GalleryNames().size(), 2u);
}

struct CloseCase {
  TModalResult Answer;
  bool Closed;
  bool Saved;
};

class CloseTest : public MainFormTest, public ::testing::WithParamInterface<CloseCase> {};

// Catches the save prompt's answers: Cancel keeps window and gallery, No
// closes without saving, Yes saves first; a closed gallery is reopenable.
TEST_P(CloseTest, AModifiedGalleryIsSavedOrNotAsTheUserAnswers) {
  Start();
  AddImages({Picture("a.bmp")});
  const std::string file = SaveAs("g.gmf");
  AddImages({Picture("b.bmp")});
  prompt_.Answer(GetParam().Answer);
  EXPECT_EQ(Window().close(), GetParam().Closed);
  EXPECT_EQ(prompt_.Questions().back().Message, "The gallery has been modified. Do you want to save the changes?");
  EXPECT_EQ(prompt_.Questions().back().DefaultButton, mbYes);
  TPicGallery saved;
  saved.LoadFromFile(file);
  EXPECT_EQ(saved.GetImageCount(), GetParam().Saved ? 2 : 1);
  EXPECT_EQ(Window().Project().Modified(), !GetParam().Closed);
  Start();
  EXPECT_EQ(Find<QMenu>("miReopen").isEnabled(), GetParam().Closed);
}

std::string AnswerName(const ::testing::TestParamInfo<CloseCase>& tested) {
  switch (tested.param.Answer) {
    case mrYes: return "Yes";
    case mrNo: return "No";
    case mrCancel: return "Cancel";
    default: return "Answer" + std::to_string(tested.param.Answer);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseTest,
                         ::testing::Values(CloseCase{mrYes, true, true}, CloseCase{mrNo, true, false},
                                           CloseCase{mrCancel, false, false}),
                         AnswerName);

// Catches the reopen list missing a closed gallery or opening another.
TEST_F(MainFormTest, AClosedNamedGalleryHeadsTheReopenListAndReopens) {
  Start();
  AddImages({Picture("a.bmp"), Picture("b.bmp")});
  const std::string first = SaveAs("first.gmf");
  Trigger("acnNew");
  AddImages({Picture("c.bmp")});
  const std::string second = SaveAs("second.gmf");
  Trigger("acnNew");
  QMenu& reopen = Find<QMenu>("miReopen");
  ASSERT_EQ(reopen.actions().size(), 2);
  EXPECT_EQ(reopen.actions()[0]->text().toStdString(), "1 " + second);
  EXPECT_EQ(reopen.actions()[1]->text().toStdString(), "2 " + first);
  reopen.actions()[1]->trigger();
  EXPECT_EQ(Window().windowTitle().toStdString(), "Tessalune - " + first);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_EQ(Window().StatusText(0), "2 picture(s)");
  EXPECT_FALSE(Window().Project().Modified());
}

// Catches a view setting that is not stored, or stored and not applied.
TEST_F(MainFormTest, TheViewSettingsSurviveARestart) {
  Start();
  Trigger("miListView");
  Trigger("miIconSize100x100");
  Trigger("miImagePreview");
  Window().SetPreviewWidth(300);
  Window().DefaultImageFolder = "/pictures/2024";
  Start();
  EXPECT_TRUE(Action("miListView").isChecked());
  EXPECT_FALSE(Action("miTableView").isChecked());
  EXPECT_FALSE(Window().ImageView().ThumbnailMode());
  EXPECT_EQ(Window().ImageView().ViewStyle(), TImageView::vsList);
  EXPECT_EQ(Window().ImageView().IconWidth(), 100);
  EXPECT_FALSE(Action("miImagePreview").isChecked());
  EXPECT_TRUE(Action("miImageProperties").isChecked());
  EXPECT_EQ(Window().PreviewWidth(), 300);
  EXPECT_EQ(Window().DefaultImageFolder, "/pictures/2024");
  emit Find<QMenu>("miIconSize").aboutToShow();
  EXPECT_TRUE(Action("miIconSize100x100").isChecked());
  EXPECT_FALSE(Action("miIconSize50x50").isChecked());
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quembler\\Tessalune\\Forms\\frmMain", false));
  EXPECT_EQ(reg.ReadInteger("IconHeight"), 100);
  EXPECT_FALSE(reg.ReadBool("TableView"));
}

// Catches a stored panel width of 0 hiding the panel for good, and a
// stored width wider than the window keeping the list from view.
TEST_F(MainFormTest, AStoredPanelWidthIsKeptWithinTheWindow) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quembler\\Tessalune\\Forms\\frmMain", true));
  reg.WriteInteger("pnlPreview", 0);
  EXPECT_EQ(Start().PreviewWidth(), 1);
  Finish();
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quembler\\Tessalune\\Forms\\frmMain", true));
  reg.WriteInteger("pnlPreview", 2000);
  reg.WriteInteger("IconWidth", 64);
  Start();
  EXPECT_EQ(Window().PreviewWidth(), Window().width() - 110);
  EXPECT_EQ(Window().PreviewPanel().width(), Window().width() - 110);
  emit Find<QMenu>("miIconSize").aboutToShow();
  EXPECT_FALSE(Action("miIconSize50x50").isChecked() || Action("miIconSize75x75").isChecked() ||
               Action("miIconSize100x100").isChecked());
}

// Catches a settings store that cannot be written keeping the window open,
// New on the old gallery or Open from the chosen one, and its failure shown
// at each of them.
TEST_F(MainFormTest, AnUnwritableSettingsStoreIsShownOnceAndStopsNothing) {
  // No one, root included, makes the store's folder where a file lies.
  config_.Files().Write("config/tessalune", "not a folder");
  Start();
  AddImages({Picture("a.bmp")});
  const std::string first = SaveAs("first.gmf");
  Trigger("acnNew");
  EXPECT_EQ(Window().windowTitle().toStdString(), "Tessalune");
  EXPECT_EQ(Window().ImageView().Count(), 0);
  EXPECT_EQ(Window().Gallery().GetImageCount(), 0);
  AddImages({Picture("b.bmp")});
  SaveAs("second.gmf");
  prompt_.ChooseFiles({first});
  Trigger("acnOpen");
  EXPECT_EQ(Window().windowTitle().toStdString(), "Tessalune - " + first);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a.bmp"}));
  EXPECT_TRUE(Window().close());
  Finish();  // the window's state cannot be stored either
  EXPECT_EQ(prompt_.Errors(), (std::vector<std::string>{"Failed to set data for 'File_000'"}));
}

// Catches values of another type in a settings file edited by hand failing
// start-up, keeping the window from closing or New and Open from their
// work, or being shown more than once.
TEST_F(MainFormTest, SettingsOfAnotherTypeAreShownOnceAndStopNothing) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quembler\\Tessalune\\Projects", true));
  reg.WriteInteger("File_000", 1);
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quembler\\Tessalune\\Forms\\frmMain", true));
  reg.WriteString("Width", "wide");
  EXPECT_EQ(Start().width(), 745);
  AddImages({Picture("a.bmp")});
  const std::string first = SaveAs("first.gmf");
  Trigger("acnNew");
  EXPECT_EQ(Window().windowTitle().toStdString(), "Tessalune");
  prompt_.ChooseFiles({first});
  Trigger("acnOpen");
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a.bmp"}));
  EXPECT_TRUE(Window().close());
  EXPECT_EQ(Window().Project().ProjectList(), (std::vector<std::string>{first}));
  EXPECT_EQ(prompt_.Errors(), (std::vector<std::string>{"Invalid data type for 'Width'"}));
}

// Catches a failed load shown twice, leaving a name, pictures or a modified
// mark, and a later save writing over the file that could not be read.
TEST_F(MainFormTest, AnUnreadableGalleryFileIsReportedOnceAndNeverSavedOver) {
  Start();
  AddImages({Picture("a.bmp")});
  const std::string damaged =
      "object Gallery: TPicGallery\n  ImageFiles = <\n    item\n      FileName = 'a.bmp'\n    end>\n"
      "  Nonsense = 1\nend\n";
  const std::string bad = config_.Files().Write("bad.gmf", damaged);
  prompt_.Answer(mrNo);
  prompt_.ChooseFiles({bad});
  Trigger("acnOpen");
  EXPECT_EQ(prompt_.Errors(), (std::vector<std::string>{"The gallery file is corrupted."}));
  EXPECT_EQ(Window().windowTitle().toStdString(), "Tessalune");
  EXPECT_EQ(Window().ImageView().Count(), 0);
  EXPECT_EQ(Window().Gallery().GetImageCount(), 0);
  EXPECT_EQ(Window().StatusText(0), "0 picture(s)");
  EXPECT_FALSE(Window().Project().Modified());
  prompt_.CancelSave();
  Trigger("acnSave");
  EXPECT_EQ(prompt_.SaveRequests().size(), 1u);
  EXPECT_EQ(ReadBytes(bad), damaged);
}

// Catches a save that fails clearing the modified mark, so that closing the
// window would drop the pictures without a question.
TEST_F(MainFormTest, AFailedSaveLeavesTheGalleryModifiedAndTheCloseAsks) {
  Start();
  AddImages({Picture("a.bmp")});
  // No one, root included, writes into a folder whose name is a file's.
  prompt_.ChooseSaveName(config_.Files().Write("plain", "") + "/g.gmf");
  Trigger("acnSave");
  EXPECT_EQ(prompt_.Errors().size(), 1u);
  EXPECT_EQ(Window().StatusText(2), "Modified");
  prompt_.Answer(mrYes);  // the same save fails again and the window stays
  EXPECT_FALSE(Window().close());
  EXPECT_EQ(prompt_.Errors().size(), 2u);
  EXPECT_TRUE(Window().Project().Modified());
}

// Catches Yes at the save prompt and a cancelled Save As going on as if the
// gallery had been saved.
TEST_F(MainFormTest, YesThenACancelledSaveAsKeepsTheWindowAndTheGallery) {
  Start();
  AddImages({Picture("a.bmp")});
  prompt_.Answer(mrYes);
  prompt_.CancelSave();
  EXPECT_FALSE(Window().close());
  prompt_.Answer(mrYes);
  prompt_.CancelSave();
  Trigger("acnOpen");
  EXPECT_EQ(prompt_.OpenRequests().size(), 1u);  // Add Images' alone
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"a.bmp"}));
  EXPECT_TRUE(Window().Project().Modified());
}

// Checks that the gallery file lists each described photo under its
// description.
void ExpectEveryPhotoUnderItsDescription(const std::string& file,
                                         const std::map<std::string, std::string>& bytes) {
  TPicGallery saved;
  saved.LoadFromFile(file);
  ASSERT_EQ(std::size_t(saved.GetImageCount()), bytes.size());
  for (int i = 0; i < saved.GetImageCount(); ++i) {
    const TImageFile& picture = *saved.GetImageFile(i);
    EXPECT_EQ(ReadBytes(picture.FileName), bytes.at(picture.Caption)) << picture.FileName;
  }
}

// Runs Rename Images with "Change the file name" on, the extension edits set
// when newExt is given.
void RenameImages(DialogAnswerer& dialogs, const char* oldExt = nullptr, const char* newExt = nullptr) {
  dialogs.Answer<TfrmTlRename>([oldExt, newExt](TfrmTlRename& rename) {
    rename.findChild<QCheckBox*>(newExt ? "cbxChangeExt" : "cbxRename")->setChecked(true);
    if (newExt) {
      rename.findChild<QLineEdit*>("edtOldExt")->setText(oldExt);
      rename.findChild<QLineEdit*>("edtNewExt")->setText(newExt);
    }
    rename.findChild<QPushButton*>("btnOK")->click();
  });
}

// Catches a gallery file left naming files the rename moved away, or the
// descriptions of names that only changed places (the checksum stays the
// same) landing on other photos; and a side panel showing the old path.
TEST_F(MainFormTest, RenamedFilesAreSavedInTheGalleryFileAtOnce) {
  Start();
  const auto bytes = AddDescribed({{"image003.bmp", 40, "third"},
                                   {"image002.bmp", 50, "second"},
                                   {"image001.bmp", 60, "first"}});
  const std::string file = SaveAs("g.gmf");
  Select({0});
  DialogAnswerer dialogs;
  RenameImages(dialogs);
  Trigger("miRenameImages");
  ASSERT_EQ(GalleryNames(), (std::vector<std::string>{"image001.bmp", "image002.bmp", "image003.bmp"}));
  EXPECT_EQ(Find<QLineEdit>("edtFileName").text().toStdString(), Window().Gallery().GetImageFile(0)->FileName);
  prompt_.Answer(mrNo);
  EXPECT_TRUE(Window().close());
  ExpectEveryPhotoUnderItsDescription(file, bytes);
}

// Catches pictures renamed while the gallery file cannot be written, which
// leaves that file naming other photos once the gallery is closed unsaved;
// and a save that fails after the rename without saying the files moved and
// that only Save As can save the gallery now.
TEST_F(MainFormTest, RenameImagesNeedsAGalleryFileThatCanBeWritten) {
  Start();
  AddImages({Picture("a.bmp")});
  const std::string file = SaveAs("g.gmf");
  ::chmod(file.c_str(), 0444);  // refused even to root
  DialogAnswerer dialogs;
  dialogs.Answer<TfrmTlRename>([&file](TfrmTlRename& rename) {
    ::chmod(file.c_str(), 0444);
    rename.findChild<QCheckBox*>("cbxRename")->setChecked(true);
    rename.findChild<QPushButton*>("btnOK")->click();
  });
  prompt_.Answer(mrOk);
  Trigger("miRenameImages");
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"a.bmp"}));
  ASSERT_EQ(prompt_.Questions().size(), 1u);
  EXPECT_EQ(prompt_.Questions()[0].Message,
            "The gallery file \"" + file +
                "\" cannot be written, so no picture was renamed. Save the gallery under another "
                "name first.");
  EXPECT_EQ(prompt_.Questions()[0].Kind, TMsgDlgType::mtWarning);

  ::chmod(file.c_str(), 0644);
  Trigger("miRenameImages");  // the dialog's answer makes the file read-only again
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"image001.bmp"}));
  EXPECT_EQ(prompt_.Errors(),
            (std::vector<std::string>{"Cannot create file " + file +
                                      ".\n\nThe pictures were renamed on disk, but the gallery "
                                      "file still lists their old names: save the gallery under "
                                      "another name with Save As before closing it."}));
  EXPECT_TRUE(Window().Project().Modified());
}

// Catches files moved before the overwrite question is answered, which a
// program killed at the question leaves under names the gallery file does
// not list; and a Cancel leaving pictures under temporary names.
TEST_F(MainFormTest, WhileTheRenameAsksTheSavedGalleryOpensEveryPhotoAndCancelLeavesNoTemporaryName) {
  Start();
  const auto bytes = AddDescribed(
      {{"image002.bmp", 40, "first"}, {"image001.bmp", 50, "second"}, {"x.bmp", 60, "third"}});
  const std::string file = SaveAs("g.gmf");
  Picture("image003.bmp", 70);
  DialogAnswerer dialogs;
  RenameImages(dialogs);
  ActingPrompt prompt([&](const TMessageDlgRequest&) {
    ExpectEveryPhotoUnderItsDescription(file, bytes);
    return mrCancel;
  });
  Trigger("miRenameImages");
  EXPECT_EQ(prompt.Messages().size(), 1u);
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"image001.bmp", "image002.bmp", "x.bmp"}));
  ExpectEveryPhotoUnderItsDescription(file, bytes);
  for (const auto& entry : std::filesystem::directory_iterator(config_.Files().Path()))
    EXPECT_EQ(entry.path().filename().string().find("_temp"), std::string::npos) << entry.path();
}

// Catches a picture left under its temporary name, or named by it, when its
// new name is held by a picture that keeps its name (image002.bmp, which
// l.bmp leads to).
TEST_F(MainFormTest, PicturesThatKeepTheirNamesKeepThemAndTheWarningNamesThem) {
  Start();
  const std::vector<std::string> files = {Picture("p.bmp", 40), Picture("image001.bmp", 50),
                                          Picture("image002.bmp", 60), config_.Files().File("l.bmp")};
  std::filesystem::create_symlink("image002.bmp", files[3]);
  for (const std::string& file : files) AddImages({file});
  DialogAnswerer dialogs;
  RenameImages(dialogs);
  ActingPrompt prompt([](const TMessageDlgRequest&) { return mrOk; });
  Trigger("miRenameImages");
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"p.bmp", "image001.bmp", "image002.bmp", "l.bmp"}));
  ASSERT_EQ(prompt.Messages().size(), 1u);
  EXPECT_EQ(prompt.Messages()[0].Message,
            "These pictures kept their names, because each new name is the file of another picture "
            "of the gallery:\n" + files[0] + "\n" + files[1] +
                "\n\nThese pictures kept their names, because another picture of the gallery opens "
                "the same file under another name:\n" + files[2] + "\n" + files[3]);
}

// Catches a photo moved over the gallery file, which the save after the
// rename then writes over; and a closing warning that waits before the
// gallery file lists the new names.
TEST_F(MainFormTest, TheGalleryFileIsNeverReplacedByARename) {
  Start();
  const std::vector<std::string> files = {Picture("a.jpeg", 40), Picture("g.jpeg", 50)};
  AddImages(files);
  const std::string file = SaveAs("g.gmf");
  Picture("a.gmf", 60);
  const std::string photo = ReadBytes(files[1]);
  DialogAnswerer dialogs;
  RenameImages(dialogs, "jpeg", "gmf");
  TPicGallery saved;  // as the closing warning finds it
  ActingPrompt prompt([&](const TMessageDlgRequest& request) {
    if (request.Kind == TMsgDlgType::mtConfirmation) return mrYesToAll;
    saved.LoadFromFile(file);
    return mrOk;
  });
  Trigger("miRenameImages");
  ASSERT_EQ(prompt.Messages().size(), 2u);
  EXPECT_EQ(prompt.Messages()[1].Message,
            "These pictures kept their names, because each new name is the gallery's own file:\n" +
                files[1]);
  EXPECT_EQ(ReadBytes(files[1]), photo);
  ASSERT_EQ(saved.GetImageCount(), 2);
  EXPECT_EQ(saved.GetImageFile(0)->FileName, config_.Files().File("a.gmf"));
  EXPECT_EQ(saved.GetImageFile(1)->FileName, files[1]);
}

// Catches a file name that holds Qt's modified mark losing it in the caption.
TEST_F(MainFormTest, TheCaptionShowsTheFileNameAsItIs) {
  Start();
  const std::string file = SaveAs("odd [*] name.gmf");
  EXPECT_EQ(Window().windowHandle()->title().toStdString(), "Tessalune - " + file);
}

}  // namespace
}  // namespace tessalune::test

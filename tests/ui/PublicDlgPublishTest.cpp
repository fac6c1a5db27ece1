// SPDX-License-Identifier: GPL-3.0-or-later
// The Publish button of the publishing dialog: its checks, the publish run,
// cancelling it and the browser.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ConfigSandbox.h"
#include "DialogAnswerer.h"
#include "PageGen.h"
#include "PublicDlgFixture.h"

namespace tessalune::test {
namespace {

// The files below folder, relative to it and sorted.
std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), folder).string());
  std::sort(files.begin(), files.end());
  return files;
}

bool ProgressWindowExists() {
  const QWidgetList windows = QApplication::topLevelWidgets();
  return std::any_of(windows.begin(), windows.end(),
                     [](const QWidget* window) { return window->objectName() == "frmProgress"; });
}

// Clicks Cancel in the progress window at the run's first report, through
// the window system as the user's mouse does, so that a window that a modal
// dialog blocks would not take the click.
void CancelAtFirstReport() {
  QTimer::singleShot(0, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->objectName() != "frmProgress" || !window->isVisible()) continue;
      const auto* cancel = window->findChild<QPushButton*>("btnCancel");
      QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                        cancel->mapTo(window, cancel->rect().center()));
    }
  });
}

// The one question asked: a warning with the message and buttons.
void ExpectWarning(const ScriptedPrompt& prompt, const std::string& message, TMsgDlgButtons buttons) {
  ASSERT_EQ(prompt.Questions().size(), 1u);
  EXPECT_EQ(prompt.Questions()[0].Message, message);
  EXPECT_EQ(prompt.Questions()[0].Kind, TMsgDlgType::mtWarning);
  EXPECT_EQ(prompt.Questions()[0].Buttons, buttons);
}

// A gallery of three pictures to be published into "out" of the sandbox.
class PublishRunTest : public PublicDlgTest {
protected:
  PublishRunTest() : out_(box_.File("out")) {
    gallery_.SetOutputFolder(out_);
    for (const char* name : {"pictures/one.bmp", "pictures/two.bmp", "pictures/three.bmp"})
      gallery_.AddFile(Picture(name));
  }

  void Publish() { Click("btnOk"); }

  // The one question asked is the warning, shown on the General page with
  // the focus on the edit at fault.
  void ExpectRefused(const ScriptedPrompt& prompt, const std::string& message, const char* edit) {
    ExpectWarning(prompt, message, mbOK);
    EXPECT_EQ(CurrentPage(), TfrmPublic::pgGeneral);
    EXPECT_EQ(Focused(), &Find<QLineEdit>(edit));
  }

  std::string out_;
};

struct FirstPageCase {
  const char* PagesFolder;
  bool Launch;
  std::vector<std::string> Opened;
};

TEST_F(PublishRunTest, ACompletedRunOpensTheFirstPageOnceWhenAsked) {
  for (const FirstPageCase& run : {FirstPageCase{"", true, {"/index.html"}},
                                   FirstPageCase{"pages", true, {"/pages/index.html"}},
                                   FirstPageCase{"", false, {}}}) {
    gallery_.SetPagesFolder(run.PagesFolder);
    gallery_.SetLaunchBrouser(run.Launch);
    opened_.clear();
    std::filesystem::remove_all(out_);
    Open(true);
    Publish();
    EXPECT_TRUE(std::filesystem::exists(out_ + "/" + run.PagesFolder + "/index.html"));
    for (std::string& page : opened_) page.replace(0, ("file://" + out_).size(), "");
    EXPECT_EQ(opened_, run.Opened);
    EXPECT_FALSE(ProgressWindowExists());
    EXPECT_TRUE(Dialog().isEnabled());
  }
  EXPECT_TRUE(prompt_.Errors().empty());
}

// The dialog is modal, as the main window shows it.
TEST_F(PublishRunTest, ACancelledRunOpensNoBrowserAndLeavesWhatTheGeneratorLeft) {
  DialogAnswerer dialogs;
  dialogs.Answer<TfrmPublic>([](TfrmPublic& shown) {
    CancelAtFirstReport();
    shown.findChild<QPushButton*>("btnOk")->click();
    EXPECT_FALSE(ProgressWindowExists());
    EXPECT_TRUE(shown.isEnabled());
    shown.reject();
  });
  ShowPublishDialog(true, gallery_);
  EXPECT_TRUE(opened_.empty());

  gallery_.SetOutputFolder(box_.File("direct"));
  TPageGenerator generator;
  generator.OnProgress = [](TPageGenerator&, const std::string&, int, bool& cancel) { cancel = true; };
  generator.Publish(gallery_);
  EXPECT_EQ(FilesBelow(out_), FilesBelow(box_.File("direct")));
  EXPECT_EQ(FilesBelow(out_), std::vector<std::string>{"thums/th_one.jpg"});
}

// Closing the progress window gives the dialog back before the run has
// stopped; neither Publish nor Apply may run meanwhile.
TEST_F(PublishRunTest, AClosedProgressWindowStopsTheRunAndNothingStartsMeanwhile) {
  Open(true);
  QTimer::singleShot(0, [this] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == "frmProgress" && window->isVisible()) window->close();
    EXPECT_TRUE(Dialog().isEnabled());
    SetText("edtTitle", "changed during the run");
    Click("btnApply");
    Click("btnOk");
  });
  Publish();
  EXPECT_EQ(FilesBelow(out_), std::vector<std::string>{"thums/th_one.jpg"});
  EXPECT_EQ(gallery_.Title(), "");
  EXPECT_TRUE(opened_.empty());
}

TEST_F(PublishRunTest, AFailedRunIsShownAndTheDialogStaysUsable) {
  box_.Write("blocker", "a file where the output folder should be");
  Open(true);
  SetText("edtOutFolder", box_.File("blocker"));
  Publish();
  ASSERT_EQ(prompt_.Errors().size(), 1u);
  EXPECT_NE(prompt_.Errors()[0].find("Cannot create file"), std::string::npos) << prompt_.Errors()[0];
  EXPECT_FALSE(ProgressWindowExists());
  EXPECT_TRUE(Dialog().isEnabled());
  EXPECT_TRUE(opened_.empty());
  EXPECT_EQ(gallery_.OutputFolder(), box_.File("blocker"));  // stored before the run
}

// A JPEG photo cut short in its picture data goes out with the error mark as
// its thumbnail; a picture moved away, copied, leaves a broken link.
TEST_F(PublishRunTest, PicturesThatCannotBeReadAreNamedByWhatWentOutInOneWarningBeforeTheBrowserOpens) {
  QImage photo(200, 150, QImage::Format_RGB888);
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x) photo.setPixelColor(x, y, QColor(x, y, (x * y) % 256));
  QByteArray whole;
  QBuffer buffer(&whole);
  buffer.open(QIODevice::WriteOnly);
  photo.save(&buffer, "JPG");
  const std::string cut = box_.Write("pictures/cut.jpg", whole.left(whole.size() / 2).toStdString());
  const std::string missing = box_.File("pictures/moved.bmp");
  gallery_.AddFile(cut);
  gallery_.AddFile(missing);
  std::size_t questionsAtOpen = 0;
  SetShellOpenHandler([&](const std::string& url) {
    questionsAtOpen = prompt_.Questions().size();
    opened_.push_back(url);
    return true;
  });
  prompt_.Answer(mrOk);
  Open(true);
  Publish();

  ExpectWarning(prompt_,
                "These pictures could not be read and were published as an error mark:\n" + cut +
                    "\n\nThese pictures could not be copied and were published as a broken link:\n" + missing +
                    "\n\nOnce they are mended, publish again with \"Overwrite the existing thumbnails and "
                    "images\" chosen, so that they are made anew.",
                mbOK);
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(questionsAtOpen, 1u) << "the warning comes before the browser";
  const std::vector<std::string> site = {
      "image_1.html",      "image_2.html",      "image_3.html",        "image_4.html",       "image_5.html",
      "images/cut.jpg",    "images/one.bmp",    "images/three.bmp",    "images/two.bmp",     "index.html",
      "thums/th_cut.jpg",  "thums/th_moved.jpg", "thums/th_one.jpg",   "thums/th_three.jpg", "thums/th_two.jpg"};
  EXPECT_EQ(FilesBelow(out_), site);
  EXPECT_EQ(QImage(QString::fromStdString(out_ + "/thums/th_cut.jpg")).size(), QSize(30, 30));
}

TEST_F(PublishRunTest, PublishModeReturnsFalseAndCloseDropsLaterChanges) {
  DialogAnswerer dialogs;
  dialogs.Answer<TfrmPublic>([](TfrmPublic& shown) {
    EXPECT_EQ(shown.findChild<QPushButton*>("btnOk")->text(), "Publish");
    EXPECT_EQ(shown.findChild<QPushButton*>("btnCancel")->text(), "Close");
    shown.findChild<QLineEdit*>("edtCaption")->setText("Published");
    shown.findChild<QPushButton*>("btnOk")->click();
    shown.findChild<QLineEdit*>("edtTitle")->setText("Dropped");
    shown.findChild<QPushButton*>("btnCancel")->click();
  });
  EXPECT_FALSE(ShowPublishDialog(true, gallery_));
  EXPECT_EQ(gallery_.Caption(), "Published");
  EXPECT_EQ(gallery_.Title(), "");
  EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(PublishRunTest, SubFolderNamesWithPathCharactersAreRefused) {
  const std::pair<const char*, const char*> names[] = {
      {"thumbs", "my.images"}, {"thumbs", "a/b"}, {"thumbs", "a\\b"}, {"thumbs", "c:"},  {"thumbs", "*?"},
      {"thumbs", "\"x\""},     {"thumbs", "<x>"}, {"thumbs", "x|y"},  {"..", "my.images"}};
  for (const auto& [icons, images] : names) {
    const bool iconsFirst = std::string(icons) == "..";
    Open(true);
    SetText("edtIconsFolder", icons);
    SetText("edtImagesFolder", images);
    SetText("edtCaption", "not stored");
    ScriptedPrompt prompt;
    prompt.Answer(mrOk);
    Publish();
    const std::string option = iconsFirst ? "Thumbnails sub-folder" : "Full-size images sub-folder";
    ExpectRefused(prompt,
                  "The \"" + option +
                      "\" option specifies a sub-folder in the output folder and must contain a simple "
                      "folder name without path.",
                  iconsFirst ? "edtIconsFolder" : "edtImagesFolder");
  }
  EXPECT_EQ(gallery_.Caption(), "");
  EXPECT_FALSE(std::filesystem::exists(out_));
}

TEST_F(PublishRunTest, ABlankOutputFolderIsRefusedAsNotSpecified) {
  Open(true);
  SetText("edtOutFolder", "  \t ");
  Find<QComboBox>("cbxTemplates").setFocus();
  prompt_.Answer(mrOk);
  Publish();
  ExpectWarning(prompt_, "The output folder must be specified.", mbOK);
  EXPECT_EQ(Focused(), &Find<QLineEdit>("edtOutFolder"));
  EXPECT_EQ(gallery_.OutputFolder(), out_);
}

// A relative folder would lie wherever the program was started.
TEST_F(PublishRunTest, ARelativeOutputFolderIsRefusedAndNothingIsWritten) {
  const std::filesystem::path started = std::filesystem::current_path();
  std::filesystem::current_path(box_.Path());
  for (const char* folder : {"web", "~web", "./web"}) {
    Open(true);
    SetText("edtOutFolder", folder);
    SetText("edtCaption", "not stored");
    Dialog().ShowPage(TfrmPublic::pgDescription);
    ScriptedPrompt prompt;
    prompt.Answer(mrOk);
    Publish();
    ExpectRefused(prompt,
                  "The output folder must be a full path, starting with \"/\" or with \"~/\" for the home "
                  "folder.",
                  "edtOutFolder");
  }
  std::filesystem::current_path(started);
  EXPECT_EQ(gallery_.Caption(), "");
  EXPECT_FALSE(std::filesystem::exists(box_.File("web")));
  EXPECT_FALSE(std::filesystem::exists(box_.File("~web")));
  EXPECT_TRUE(opened_.empty());
}

TEST_F(PublishRunTest, AnOutputFolderStartingWithTildeLiesInTheHomeFolder) {
  const ConfigSandbox home;
  Open(true);
  SetText("edtOutFolder", "~/x");
  Publish();
  const std::string folder = home.Files().File("home/x");
  EXPECT_TRUE(std::filesystem::exists(folder + "/thums/th_one.jpg"));
  EXPECT_EQ(opened_, std::vector<std::string>{"file://" + folder + "/index.html"});
  EXPECT_EQ(gallery_.OutputFolder(), "~/x");
  EXPECT_TRUE(prompt_.Questions().empty());
}

TEST_F(PublishRunTest, ThumbnailsWithoutPrefixBesideThePicturesAreRefused) {
  gallery_.SetIsConvertImages(true);
  Open(true);
  SetText("edtIconsFolder", "images");
  SetText("edtIconPrefix", "");
  SetText("edtCaption", "not stored");
  Dialog().ShowPage(TfrmPublic::pgDescription);
  prompt_.Answer(mrOk);
  Publish();
  ExpectRefused(prompt_,
                "The \"Thumbnails prefix\" option must not be empty when thumbnails and full-size images "
                "share a sub-folder: the thumbnails would replace the images.",
                "edtIconPrefix");
  EXPECT_EQ(gallery_.Caption(), "");
  EXPECT_FALSE(std::filesystem::exists(out_));
  SetText("edtIconPrefix", "small_");
  Publish();
  EXPECT_TRUE(std::filesystem::exists(out_ + "/images/small_one.jpg"));
  EXPECT_TRUE(std::filesystem::exists(out_ + "/images/one.jpg"));
}

std::string OverwriteQuestion(const std::string& folder) {
  return "The \"" + folder +
         "\" folder contains files that may be overwrited when publishing.\nDo you want to continue?";
}

TEST_F(PublishRunTest, AFolderWithoutFilesIsPublishedIntoWithoutAQuestion) {
  std::filesystem::create_directories(out_ + "/empty/deeper");
  Open(true);
  Publish();
  EXPECT_TRUE(prompt_.Questions().empty());
  EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(PublishRunTest, AFileDeepInTheFolderBringsTheQuestionAndNoStopsBeforeStoring) {
  box_.Write("out/a/b/old.txt", "");
  Open(true);
  SetText("edtCaption", "not stored");
  prompt_.Answer(mrNo);
  Publish();
  ASSERT_EQ(prompt_.Questions().size(), 1u);
  EXPECT_EQ(prompt_.Questions()[0].Message, OverwriteQuestion(out_));
  EXPECT_EQ(prompt_.Questions()[0].Kind, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(prompt_.Questions()[0].Buttons, mbYes | mbNo | mbCancel);
  EXPECT_EQ(Focused(), &Find<QLineEdit>("edtOutFolder"));
  EXPECT_EQ(gallery_.Caption(), "");
  EXPECT_EQ(Dialog().LastOutputFolder(), "");
  EXPECT_TRUE(opened_.empty());
}

// The question is asked again for every folder but the one that passed last;
// folders whose names differ in letter case are different folders here.
TEST_F(PublishRunTest, TheOverwriteQuestionIsAskedOncePerFolderInARow) {
  box_.Write("out/old.txt", "");
  box_.Write("other/old.txt", "");
  box_.Write("OUT/old.txt", "");
  Open(true);
  for (const auto& [folder, asked] : std::vector<std::pair<std::string, bool>>{
           {out_, true}, {out_, false}, {box_.File("other"), true}, {out_, true}, {box_.File("OUT"), true}}) {
    const std::size_t questions = prompt_.Questions().size();
    if (asked) prompt_.Answer(mrYes);
    SetText("edtOutFolder", folder);
    Publish();
    EXPECT_EQ(prompt_.Questions().size(), questions + (asked ? 1 : 0)) << folder;
    EXPECT_EQ(Dialog().LastOutputFolder(), folder);
  }
  EXPECT_EQ(prompt_.Questions().back().Message, OverwriteQuestion(box_.File("OUT")));
  Open(true);
  prompt_.Answer(mrYes);
  Publish();
  EXPECT_EQ(prompt_.Questions().size(), 5u);  // a new dialog remembers nothing
}

TEST_F(PublishRunTest, AMissingPageTemplateIsReportedAfterTheSettingsAreStored) {
  MakeTemplate("Broken", false);
  gallery_.SetTemplate("Broken");
  Open(true);
  SetText("edtCaption", "stored");
  prompt_.Answer(mrOk);
  Publish();
  ExpectWarning(prompt_, "Selected template is not valid. File \"page.html\" is not found.", mbOK | mbHelp);
  EXPECT_EQ(CurrentPage(), TfrmPublic::pgPageLayout);
  EXPECT_EQ(Focused(), &Find<QComboBox>("cbxTemplates"));
  EXPECT_EQ(gallery_.Caption(), "stored");
  EXPECT_EQ(Dialog().LastOutputFolder(), out_);
  EXPECT_FALSE(std::filesystem::exists(out_));
}

TEST_F(PublishRunTest, WithoutTemplateFoldersThePageTemplateIsLookedForInTheTemplatesRoot) {
  std::filesystem::remove_all(box_.File("Templates/Grid"));
  Open(true);
  prompt_.Answer(mrOk);
  Publish();
  ASSERT_EQ(prompt_.Questions().size(), 1u);
  box_.Write("Templates/page.html", "{begin_row}{begin_cell}<img src=\"{th_href}\">{end_cell}{end_row}");
  box_.Write("Templates/image.html", "<img src=\"{image_href}\">");
  Publish();
  EXPECT_EQ(prompt_.Questions().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(out_ + "/index.html"));
}

}  // namespace
}  // namespace tessalune::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <QAction>
#include <QMenu>

#include "ConfigSandbox.h"
#include "PrjLib.h"
#include "ScriptedPrompt.h"
#include "TestNames.h"

namespace tessalune {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* kProgramKey = "\\Software\\Quembler\\Tessalune";
constexpr const char* kProjectsKey = "\\Software\\Quembler\\Tessalune\\Projects";

class PrjLibTest : public ::testing::Test {
protected:
  PrjLibTest() {
    project_.RegistryAddress.Path = kProgramKey;
    project_.MaxListSize = 10;
    Record("New", project_.OnNew);
    Record("Open", project_.OnOpen);
    Record("Save", project_.OnSave);
    Record("Close", project_.OnClose);
    Record("Changed", project_.OnChanged);
    Record("NameChanged", project_.OnNameChanged);
    Record("ProjectListAdd", project_.OnProjectListAdd);
  }

  // Each event is recorded as "Name FileName/Modified".
  void Record(const std::string& name, TProjectEvent& event) {
    event = [this, name](TProject& sender) {
      EXPECT_EQ(&sender, &project_);
      events_.push_back(name + " " + sender.FileName() + "/" + (sender.Modified() ? "1" : "0"));
    };
  }

  // An existing document file.
  std::string Doc(const std::string& name) const { return config_.Files().Write("docs/" + name, ""); }

  void OpenDocument(const std::string& fileName) {
    prompt_.ChooseFiles({fileName});
    project_.Open();
    events_.clear();
  }

  void StoreValues(const std::vector<std::pair<std::string, std::string>>& values) const {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kProjectsKey, true));
    for (const auto& [name, value] : values) reg.WriteString(name, value);
  }

  // The reopen key's values as "name=value", in their order.
  Lines StoredValues() const {
    TRegistry reg;
    Lines values;
    if (!reg.OpenKey(kProjectsKey, false)) return values;
    for (const std::string& name : reg.GetValueNames()) values.push_back(name + "=" + reg.ReadString(name));
    return values;
  }

  // A stored list of count existing files, newest first.
  Lines StoreExistingList(int count) {
    Lines files;
    std::vector<std::pair<std::string, std::string>> values;
    for (int i = 0; i < count; ++i) {
      files.push_back(Doc("f" + std::to_string(i) + ".gmf"));
      values.emplace_back(ProjectListValueName(static_cast<std::size_t>(i)), files.back());
    }
    StoreValues(values);
    return files;
  }

  test::ConfigSandbox config_;
  test::ScriptedPrompt prompt_;
  TProject project_;
  Lines events_;
};

TEST_F(PrjLibTest, StartsUnnamedUnmodifiedWithTheDefaults) {
  TProject fresh;
  EXPECT_EQ(fresh.FileName(), "");
  EXPECT_FALSE(fresh.Modified());
  EXPECT_EQ(fresh.LastFolder(), "");
  EXPECT_TRUE(fresh.ProjectList().empty());
  EXPECT_EQ(fresh.DefaultExt, "dat");
  EXPECT_EQ(fresh.FileFilter, "All Files|*.*");
  EXPECT_EQ(fresh.SaveAlert, "The data have been changed. Save?");
  EXPECT_EQ(fresh.MaxListSize, 5);
  EXPECT_EQ(fresh.RegistryAddress.Root, hkeyCurrentUser);
  EXPECT_EQ(fresh.RegistryAddress.Path, "");
}

TEST_F(PrjLibTest, CloseOfANamedDocumentAddsItToTheListFirst) {
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  project_.SetModified(true);
  events_.clear();
  project_.Close();
  EXPECT_EQ(events_, (Lines{"ProjectListAdd " + a + "/1", "Changed " + a + "/0", "NameChanged /0",
                            "Close /0"}));
  EXPECT_EQ(StoredValues(), (Lines{"File_000=" + a}));
}

TEST_F(PrjLibTest, CloseOfAnUnnamedDocumentWritesNothing) {
  project_.Close();
  EXPECT_EQ(events_, (Lines{"Changed /0", "NameChanged /0", "Close /0"}));
  EXPECT_FALSE(std::filesystem::exists(config_.StoreFile("HKEY_CURRENT_USER")));
}

TEST_F(PrjLibTest, NewClosesAndStartsAnEmptyDocument) {
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  project_.New();
  EXPECT_EQ(events_, (Lines{"ProjectListAdd " + a + "/0", "Changed " + a + "/0", "NameChanged /0",
                            "Close /0", "New /0", "Changed /0"}));
}

TEST_F(PrjLibTest, OpenClosesTheOldDocumentAndOpensTheChosenOne) {
  const std::string a = Doc("a.gmf");
  const std::string b = Doc("b.gmf");
  project_.DefaultExt = "gmf";
  project_.FileFilter = "Gallery Files|*.gmf|All Files|*.*";
  project_.OpenTitle = "Open gallery";
  OpenDocument(a);
  prompt_.ChooseFiles({b});
  project_.Open();
  EXPECT_EQ(events_, (Lines{"ProjectListAdd " + a + "/0", "Changed " + a + "/0", "NameChanged /0",
                            "Close /0", "NameChanged " + b + "/0", "Open " + b + "/0",
                            "Changed " + b + "/0"}));
  EXPECT_EQ(project_.LastFolder(), config_.Files().File("docs"));
  const TFileDialogRequest& request = prompt_.OpenRequests().back();
  EXPECT_EQ(request.Title, "Open gallery");
  EXPECT_EQ(request.DefaultExt, "gmf");
  EXPECT_EQ(request.Filter, "Gallery Files|*.gmf|All Files|*.*");
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_EQ(request.InitialDir, config_.Files().File("docs"));
  EXPECT_FALSE(request.AllowMultiSelect);
  EXPECT_FALSE(request.FileMustExist);
}

TEST_F(PrjLibTest, SaveOfANamedDocumentClearsModifiedBeforeTheHostWrites) {
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  project_.SetModified(true);
  events_.clear();
  project_.Save();
  EXPECT_EQ(events_, (Lines{"Changed " + a + "/0", "Save " + a + "/0"}));
}

TEST_F(PrjLibTest, SaveOfAnUnnamedDocumentAsksForAName) {
  project_.SetModified(true);
  events_.clear();
  const std::string b = config_.Files().File("new/b.gmf");
  prompt_.ChooseSaveName(b);
  project_.Save();
  EXPECT_EQ(events_, (Lines{"NameChanged " + b + "/1", "Changed " + b + "/0", "Save " + b + "/0"}));
  EXPECT_EQ(project_.LastFolder(), config_.Files().File("new"));
  ASSERT_EQ(prompt_.SaveRequests().size(), 1u);
  EXPECT_TRUE(prompt_.SaveRequests()[0].OverwritePrompt);
  EXPECT_EQ(prompt_.SaveRequests()[0].FileName, "");
  EXPECT_TRUE(StoredValues().empty());  // the old name does not enter the list
}

TEST_F(PrjLibTest, SaveAsToTheCurrentNameStillReportsTheName) {
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  prompt_.ChooseSaveName(a);
  project_.SaveAs();
  EXPECT_EQ(events_, (Lines{"NameChanged " + a + "/0", "Changed " + a + "/0", "Save " + a + "/0"}));
}

TEST_F(PrjLibTest, SetModifiedReportsEveryAssignment) {
  project_.SetModified(false);
  project_.SetModified(true);
  EXPECT_EQ(events_, (Lines{"Changed /0", "Changed /1"}));
}

TEST_F(PrjLibTest, TheSavePromptAsksOnlyForAModifiedDocument) {
  project_.SaveAlert = "The gallery has been modified. Do you want to save the changes?";
  EXPECT_TRUE(project_.CloseQuery());
  project_.SetModified(true);
  events_.clear();
  prompt_.Answer(mrCancel);
  EXPECT_FALSE(project_.CloseQuery());
  prompt_.Answer(mrNo);
  EXPECT_TRUE(project_.CloseQuery());
  EXPECT_TRUE(events_.empty());
  ASSERT_EQ(prompt_.Questions().size(), 2u);
  EXPECT_EQ(prompt_.Questions()[0].Message, project_.SaveAlert);
  EXPECT_EQ(prompt_.Questions()[0].Kind, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(prompt_.Questions()[0].Buttons, mbYes | mbNo | mbCancel);
  EXPECT_EQ(prompt_.Questions()[0].HelpContext, 0);
  EXPECT_EQ(prompt_.Questions()[0].DefaultButton, mbYes);
  EXPECT_TRUE(prompt_.Questions()[0].ScreenCenter);
}

TEST_F(PrjLibTest, YesWithACancelledSaveDialogStopsNew) {
  project_.SetModified(true);
  events_.clear();
  prompt_.Answer(mrYes);
  prompt_.CancelSave();
  project_.New();
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(project_.Modified());
}

TEST_F(PrjLibTest, YesSavesANamedDocumentBeforeTheOperation) {
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  project_.SetModified(true);
  events_.clear();
  prompt_.Answer(mrYes);
  project_.New();
  ASSERT_GE(events_.size(), 3u);
  EXPECT_EQ((Lines{events_[0], events_[1], events_[2]}),
            (Lines{"Changed " + a + "/0", "Save " + a + "/0", "ProjectListAdd " + a + "/0"}));
}

TEST_F(PrjLibTest, NoAndACancelledOpenDialogLeaveTheDocumentModified) {
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  project_.SetModified(true);
  events_.clear();
  prompt_.Answer(mrNo);
  prompt_.CancelOpen();
  project_.Open();
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(project_.FileName(), a);
  EXPECT_TRUE(project_.Modified());
}

TEST_F(PrjLibTest, AFailingOpenHandlerLeavesTheDocumentWithoutAFile) {
  const std::string b = Doc("b.gmf");
  project_.OnOpen = [](TProject&) { throw Exception("The gallery file is corrupted"); };
  prompt_.ChooseFiles({b});
  EXPECT_THROW(project_.Open(), Exception);
  EXPECT_EQ(project_.FileName(), "");
  EXPECT_FALSE(project_.Modified());
  EXPECT_EQ(events_, (Lines{"Changed /0", "NameChanged /0", "Close /0", "NameChanged " + b + "/0",
                            "NameChanged /0", "Changed /0"}));
}

TEST_F(PrjLibTest, AFailingListHandlerLeavesTheDocumentNamed) {
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  project_.SetModified(true);
  project_.OnProjectListAdd = [](TProject&) { throw Exception("menu"); };
  events_.clear();
  EXPECT_THROW(project_.Close(), Exception);
  EXPECT_EQ(StoredValues(), (Lines{"File_000=" + a}));
  EXPECT_EQ(project_.FileName(), a);
  EXPECT_TRUE(project_.Modified());
  EXPECT_TRUE(events_.empty());
}

TEST_F(PrjLibTest, ACaseDifferentNameMovesToTheTopAsNowSpelled) {
  const Lines files = StoreExistingList(3);
  std::string upper = files[1];
  upper.replace(upper.size() - 6, 2, "F1");  // ".../f1.gmf" becomes ".../F1.gmf"
  OpenDocument(upper);
  project_.Close();
  EXPECT_EQ(StoredValues(),
            (Lines{"File_000=" + upper, "File_001=" + files[0], "File_002=" + files[2]}));
}

TEST_F(PrjLibTest, NamesThatAreNotUtf8MatchByTheirLettersAndKeepOtherBytesApart) {
  const std::string latin1 = Doc("caf\xe9.gmf");
  const std::string other = Doc("caf\xe8.gmf");
  StoreValues({{"File_000", latin1}});
  OpenDocument(other);
  project_.Close();
  EXPECT_EQ(StoredValues(), (Lines{"File_000=" + other, "File_001=" + latin1}));
  std::string upper = latin1;
  upper.replace(upper.size() - 8, 3, "CAF");  // ".../caf\xe9.gmf" becomes ".../CAF\xe9.gmf"
  OpenDocument(upper);
  project_.Close();
  EXPECT_EQ(StoredValues(), (Lines{"File_000=" + upper, "File_001=" + other}));
}

TEST_F(PrjLibTest, TheEleventhFileDropsTheOldest) {
  const Lines files = StoreExistingList(10);
  const std::string eleventh = Doc("eleventh.gmf");
  OpenDocument(eleventh);
  project_.Close();
  const Lines stored = StoredValues();
  ASSERT_EQ(stored.size(), 10u);
  EXPECT_EQ(stored[0], "File_000=" + eleventh);
  EXPECT_EQ(stored[9], "File_009=" + files[8]);
}

TEST_F(PrjLibTest, AListLongerThanTheLimitShrinksByOnePerAddition) {
  StoreExistingList(12);
  OpenDocument(Doc("new.gmf"));
  project_.Close();
  EXPECT_EQ(StoredValues().size(), 12u);
}

TEST_F(PrjLibTest, ALimitOfZeroWritesNoEntryButStillReports) {
  project_.MaxListSize = 0;
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  project_.Close();
  EXPECT_TRUE(StoredValues().empty());
  EXPECT_EQ(events_.front(), "ProjectListAdd " + a + "/0");
}

TEST_F(PrjLibTest, OnlyValuesStartingWithFileBelongToTheList) {
  const std::string kept = Doc("kept.gmf");
  const std::string files = Doc("files.gmf");
  const std::string a = Doc("a.gmf");
  StoreValues({{"file_000", kept}, {"Files", files}, {"Other", "x"}});
  OpenDocument(a);
  project_.Close();
  EXPECT_EQ(StoredValues(),
            (Lines{"file_000=" + kept, "Other=x", "File_000=" + a, "File_001=" + files}));
}

TEST_F(PrjLibTest, ValueNamesHaveAtLeastThreeDigits) {
  EXPECT_EQ(ProjectListValueName(0), "File_000");
  EXPECT_EQ(ProjectListValueName(7), "File_007");
  EXPECT_EQ(ProjectListValueName(999), "File_999");
  EXPECT_EQ(ProjectListValueName(1000), "File_1000");
}

TEST_F(PrjLibTest, TheMenuShowsExistingFilesAndTheRegistryKeepsTheRest) {
  const Lines files = StoreExistingList(3);
  std::filesystem::remove(files[1]);
  QMenu menu;
  project_.FillProjectMenu(&menu);
  const QList<QAction*> items = menu.actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text().toStdString(), "1 " + files[0]);
  EXPECT_EQ(items[1]->text().toStdString(), "2 " + files[2]);
  EXPECT_EQ(items[1]->objectName(), "a2");
  EXPECT_EQ(items[1]->data().toInt(), 1);
  EXPECT_TRUE(menu.isEnabled());
  EXPECT_EQ(StoredValues().size(), 3u);
  EXPECT_EQ(project_.LastFolder(), config_.Files().File("docs"));
}

TEST_F(PrjLibTest, FillingAMissingKeyCreatesItAndDisablesTheMenu) {
  QMenu menu;
  menu.addAction("stale");
  project_.FillProjectMenu(&menu);
  EXPECT_TRUE(menu.actions().isEmpty());
  EXPECT_FALSE(menu.isEnabled());
  EXPECT_FALSE(menu.menuAction()->isEnabled());
  TRegistry reg;
  EXPECT_TRUE(reg.OpenKey(kProjectsKey, false));
}

TEST_F(PrjLibTest, AnAmpersandInAPathShowsAsItself) {
  const std::string odd = Doc("Tom & Jerry.gmf");
  StoreValues({{"File_000", odd}});
  QMenu menu;
  project_.FillProjectMenu(&menu);
  ASSERT_EQ(menu.actions().size(), 1);
  EXPECT_EQ(menu.actions()[0]->iconText().toStdString(), "1 " + odd);
}

TEST_F(PrjLibTest, AReopenClickClosesAndOpensThatFileAndRebuildsTheMenu) {
  const Lines files = StoreExistingList(2);
  const std::string a = Doc("a.gmf");
  QMenu menu;
  project_.OnProjectListAdd = [&](TProject& sender) {
    events_.push_back("ProjectListAdd " + sender.FileName());
    sender.FillProjectMenu(&menu);
  };
  project_.FillProjectMenu(&menu);
  OpenDocument(a);
  menu.actions()[1]->trigger();
  EXPECT_EQ(events_, (Lines{"ProjectListAdd " + a, "Changed " + a + "/0", "NameChanged /0", "Close /0",
                            "NameChanged " + files[1] + "/0", "Open " + files[1] + "/0",
                            "Changed " + files[1] + "/0"}));
  EXPECT_EQ(menu.actions().size(), 3);
  EXPECT_EQ(menu.actions()[0]->text().toStdString(), "1 " + a);
}

TEST_F(PrjLibTest, AFailedReopenIsShownAsAnErrorWithAFullStop) {
  StoreExistingList(1);
  QMenu menu;
  project_.FillProjectMenu(&menu);
  project_.OnOpen = [](TProject&) { throw Exception("The gallery file is corrupted"); };
  menu.actions()[0]->trigger();
  EXPECT_EQ(prompt_.Errors(), (Lines{"The gallery file is corrupted."}));
  EXPECT_TRUE(prompt_.Questions().empty());
}

TEST_F(PrjLibTest, AStoreThatCannotBeWrittenIsShownOnceAndEveryCloseGoesOn) {
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  config_.Files().Write("config/tessalune/HKEY_CURRENT_USER.lock/x", "");  // lock cannot be taken
  project_.Close();
  EXPECT_EQ(events_, (Lines{"Changed " + a + "/0", "NameChanged /0", "Close /0"}));
  OpenDocument(a);
  project_.Close();
  EXPECT_EQ(events_, (Lines{"Changed " + a + "/0", "NameChanged /0", "Close /0"}));
  EXPECT_EQ(prompt_.Errors(), (Lines{"Failed to set data for 'File_000'"}));
  EXPECT_TRUE(StoredValues().empty());
}

TEST_F(PrjLibTest, AListValueThatIsNoStringIsLeftOutShownOnceAndDroppedAtTheNextClose) {
  const Lines files = StoreExistingList(2);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kProjectsKey, true));
  reg.WriteInteger("File_000", 1);
  QMenu menu;
  project_.FillProjectMenu(&menu);
  EXPECT_EQ(project_.ProjectList(), (Lines{files[1]}));
  const std::string a = Doc("a.gmf");
  OpenDocument(a);
  project_.Close();
  EXPECT_EQ(events_.front(), "ProjectListAdd " + a + "/0");
  EXPECT_EQ(StoredValues(), (Lines{"File_000=" + a, "File_001=" + files[1]}));
  EXPECT_EQ(prompt_.Errors(), (Lines{"Invalid data type for 'File_000'"}));
}

TEST_F(PrjLibTest, DialogsStartInTheNewestFolderElseTheDocumentsFolder) {
  config_.Files().Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n");
  config_.Files().Write("home/Documents/.keep", "");
  EXPECT_EQ(project_.GetInitialDir(), config_.Files().File("home/Documents"));
  TProject other;
  other.RegistryAddress.Path = kProgramKey;
  StoreValues({{"File_000", Doc("x/trip.gmf")}});
  QMenu menu;
  other.FillProjectMenu(&menu);
  EXPECT_EQ(other.GetInitialDir(), config_.Files().File("docs/x"));
}

struct FolderCase {
  const char* FileName;
  const char* Folder;
};

class PrjLibFolders : public ::testing::TestWithParam<FolderCase> {};

TEST_P(PrjLibFolders, TheFolderOfAFileKeepsTheRootSlash) {
  EXPECT_EQ(FolderOfFileName(GetParam().FileName), GetParam().Folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrjLibFolders,
                         ::testing::Values(FolderCase{"/Galleries/Trip.gmf", "/Galleries"},
                                           FolderCase{"/Trip.gmf", "/"},
                                           FolderCase{"//Trip.gmf", "//"},
                                           FolderCase{"/a/b/", "/a/b"},
                                           FolderCase{"Trip.gmf", ""}, FolderCase{"", ""}),
                         [](const auto& tested) { return test::SpelledName(tested.param.FileName); });

}  // namespace
}  // namespace tessalune

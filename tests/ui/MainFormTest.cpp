// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its first start, the document events, the modified rule,
// the commands on the selection, closing and the reopen list.
#include <gtest/gtest.h>

#include <filesystem>

#include <QActionGroup>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "DialogAnswerer.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "ImageView.h"
#include "MainActions.h"
#include "MainFormFixture.h"
#include "MainSidePanel.h"
#include "PrjLib.h"
#include "SortDlg.h"

namespace tessalune::test {
namespace {

// Catches a default that differs from the first run's: placement, panel,
// thumbnails, caption, empty status bar and the commands that need pictures.
TEST_F(MainFormTest, TheFirstRunShowsTheDesignedWindowWithNothingToWorkOn) {
  TfrmMain& window = Start();
  EXPECT_EQ(window.geometry(), QRect(147, 144, 745, 527));
  EXPECT_EQ(window.PreviewWidth(), 227);
  EXPECT_EQ(window.PreviewPanel().width(), 227);
  EXPECT_EQ(window.ImageView().IconWidth(), 50);
  EXPECT_EQ(window.ImageView().IconHeight(), 50);
  EXPECT_TRUE(window.ImageView().ThumbnailMode());
  EXPECT_EQ(window.windowTitle(), "Tessalune");
  EXPECT_EQ(window.DefaultImageFolder, documents_);
  for (int panel = 0; panel < 3; ++panel) EXPECT_EQ(window.StatusText(panel), "") << panel;
  for (const char* name : {"acnPublish", "acnMoveTop", "acnMoveUp", "acnMoveDown", "acnMoveBottom", "acnGroupUp",
                           "acnGroupDown", "acnDelete", "acnSelectAll", "acnInvertSelection", "acnSortBy",
                           "miRenameImages"})
    EXPECT_FALSE(Enabled(name)) << name;
  for (const char* name : {"acnNew", "acnOpen", "acnSave", "acnSaveAs", "acnImport", "acnAddFolder",
                           "acnAddFiles", "acnGalleryOptions", "miImagePreview", "miTableView"})
    EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_FALSE(Find<QToolButton>("tbnSave").isEnabled());
  EXPECT_TRUE(Find<QToolButton>("tbnOpen").isEnabled());
  EXPECT_FALSE(Action("acnOptions").isVisible());
  EXPECT_FALSE(Find<QMenu>("miReopen").isEnabled());
  EXPECT_TRUE(Action("miImagePreview").isChecked() && Action("miImageProperties").isChecked() &&
              Action("miImageDescription").isChecked() && Action("miTableView").isChecked());
  EXPECT_FALSE(Action("miListView").isChecked());
}

// Catches New leaving the old gallery's pictures or status behind.
TEST_F(MainFormTest, NewEmptiesTheListAndTheStatusBarCountsNothing) {
  Start();
  AddImages({Picture("a.bmp")});
  prompt_.Answer(mrNo);
  Trigger("acnNew");
  EXPECT_EQ(Window().ImageView().Count(), 0);
  EXPECT_EQ(Window().Gallery().GetImageCount(), 0);
  EXPECT_EQ(Window().StatusText(0), "0 picture(s)");
  EXPECT_EQ(Window().StatusText(1), "0 byte");
  EXPECT_EQ(Window().StatusText(2), "");
  EXPECT_FALSE(Find<QToolButton>("tbnSave").isEnabled());
}

// Catches the Save tool button following the action instead of the
// modified state, and File, Save being disabled with it.
TEST_F(MainFormTest, OnlyTheSaveButtonFollowsTheModifiedState) {
  Start();
  const std::vector<std::string> pictures{Picture("a.bmp"), Picture("b.bmp", 80, 60)};
  AddImages(pictures);
  EXPECT_TRUE(Find<QToolButton>("tbnSave").isEnabled());
  const std::string file = SaveAs("g.gmf");
  EXPECT_FALSE(Find<QToolButton>("tbnSave").isEnabled());
  EXPECT_TRUE(Enabled("acnSave"));
  EXPECT_EQ(Window().windowTitle().toStdString(), "Tessalune - " + file);
  EXPECT_EQ(Window().StatusText(0), "2 picture(s)");
  EXPECT_EQ(Window().StatusText(1).toStdString(), FormatFileSize(FileSizeOf(pictures[0]) + FileSizeOf(pictures[1])));
}

struct UnconditionalCase {
  const char* Command;
  std::vector<int> Selection;  // where the command moves nothing
};

class UnconditionalCommandTest : public MainFormTest, public ::testing::WithParamInterface<UnconditionalCase> {};

// Catches a move that marks the gallery only when something moved.
TEST_P(UnconditionalCommandTest, MarksTheGalleryModifiedEvenWhenNothingMoves) {
  Start();
  AddImages({Picture("a.bmp"), Picture("b.bmp")});
  SaveAs("g.gmf");
  Select(GetParam().Selection);
  Trigger(GetParam().Command);
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_TRUE(Window().Project().Modified());
  EXPECT_EQ(Window().StatusText(2), "Modified");
  EXPECT_TRUE(Find<QToolButton>("tbnSave").isEnabled());
}

INSTANTIATE_TEST_SUITE_P(MovesAndGroups, UnconditionalCommandTest,
                         ::testing::Values(UnconditionalCase{"acnMoveTop", {0}}, UnconditionalCase{"acnMoveUp", {0}},
                                           UnconditionalCase{"acnMoveDown", {1}},
                                           UnconditionalCase{"acnMoveBottom", {1}},
                                           UnconditionalCase{"acnGroupUp", {0, 1}},
                                           UnconditionalCase{"acnGroupDown", {0, 1}}),
                         [](const ::testing::TestParamInfo<UnconditionalCase>& tested) {
                           return std::string(tested.param.Command);
                         });

// Catches dialogs marking the gallery whenever they ran: only a changed
// checksum counts.
TEST_F(MainFormTest, DialogsMarkTheGalleryOnlyWhenTheyChangedIt) {
  Start();
  AddImages({Picture("a.bmp"), Picture("bb.bmp")});
  SaveAs("g.gmf");
  Select({0});
  DialogAnswerer dialogs;
  dialogs.Answer<QDialog>([](QDialog& editor) { editor.reject(); });
  Trigger("miEditCaption");
  EXPECT_FALSE(Window().Project().Modified()) << "description editor cancelled";
  dialogs.Answer<QDialog>([](QDialog& editor) { editor.accept(); });
  Trigger("miEditCaption");
  EXPECT_FALSE(Window().Project().Modified()) << "description editor OK without a change";
  dialogs.Answer<QDialog>([](QDialog& options) { options.findChild<QPushButton*>("btnCancel")->click(); });
  Trigger("acnGalleryOptions");
  EXPECT_FALSE(Window().Project().Modified()) << "options closed without a change";
  dialogs.Answer<TfrmSort>([](TfrmSort& sort) {
    sort.rbnDesc->setChecked(true);
    sort.reject();
  });
  Trigger("acnSortBy");
  EXPECT_FALSE(Window().Project().Modified()) << "sort cancelled";
  dialogs.Answer<TfrmSort>([](TfrmSort& sort) { sort.accept(); });
  Trigger("acnSortBy");
  EXPECT_FALSE(Window().Project().Modified()) << "sorted into the same order";
  dialogs.Answer<TfrmSort>([](TfrmSort& sort) {
    sort.rbnDesc->setChecked(true);
    sort.accept();
  });
  Trigger("acnSortBy");
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"bb.bmp", "a.bmp"}));
  EXPECT_TRUE(Window().Project().Modified()) << "sorted into another order";
}

// Catches Apply's stored settings being forgotten when the dialog is then
// closed with Close.
TEST_F(MainFormTest, ApplyThenCloseInThePublishingDialogCountsAsAChange) {
  Start();
  AddImages({Picture("a.bmp")});
  SaveAs("g.gmf");
  DialogAnswerer dialogs;
  dialogs.Answer<QDialog>([](QDialog& publishing) {
    publishing.findChild<QLineEdit*>("edtTitle")->setText("Holiday");
    publishing.findChild<QPushButton*>("btnApply")->click();
    publishing.findChild<QPushButton*>("btnCancel")->click();
  });
  Trigger("acnPublish");
  EXPECT_EQ(Window().Gallery().Title(), "Holiday");
  EXPECT_TRUE(Window().Project().Modified());
}

// Catches a rename dialog left with Cancel keeping stale captions, or
// marking the gallery.
TEST_F(MainFormTest, RenameImagesRewritesTheCaptionsWhateverTheDialogDid) {
  Start();
  AddImages({Picture("a.bmp")});
  SaveAs("g.gmf");
  Window().ImageView().SetCaption(0, "stale");
  DialogAnswerer dialogs;
  dialogs.Answer<QDialog>([](QDialog& rename) { rename.reject(); });
  Trigger("miRenameImages");
  EXPECT_EQ(Window().ImageView().Caption(0), "a.bmp");
  EXPECT_FALSE(Window().Project().Modified());
}

// Catches Delete taking the wrong pictures or shuffling the rest.
TEST_F(MainFormTest, DeleteWithThreeSelectedRemovesThoseThreeAndKeepsTheOrder) {
  Start();
  AddImages({Picture("1.bmp"), Picture("2.bmp"), Picture("3.bmp"), Picture("4.bmp"), Picture("5.bmp")});
  Select({0, 2, 3});
  prompt_.Answer(mrNo);
  Trigger("acnDelete");
  EXPECT_EQ(GalleryNames().size(), 5u);
  prompt_.Answer(mrYes);
  Trigger("acnDelete");
  ASSERT_EQ(prompt_.Questions().size(), 2u);
  EXPECT_EQ(prompt_.Questions()[1].Message, "Do you want to delete the selected items from gallery?");
  EXPECT_EQ(prompt_.Questions()[1].Kind, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(prompt_.Questions()[1].Buttons, mbYes | mbNo);
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"2.bmp", "5.bmp"}));
  EXPECT_EQ(ListNames(), GalleryNames());
  EXPECT_EQ(Window().StatusText(0), "2 picture(s)");
  EXPECT_TRUE(std::filesystem::exists(config_.Files().File("1.bmp")));
}

// Catches the keys of the list: Ctrl+Alt+Up moves, with Shift it does not;
// Delete asks with any modifier; the list keeps Delete from itself.
TEST_F(MainFormTest, TheListsKeysMoveAndDelete) {
  Start();
  AddImages({Picture("1.bmp"), Picture("2.bmp"), Picture("3.bmp")});
  SaveAs("g.gmf");
  Select({2});
  TImageView& list = Window().ImageView();
  QTest::keyClick(&list, Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"1.bmp", "2.bmp", "3.bmp"}));
  EXPECT_FALSE(Window().Project().Modified());
  QTest::keyClick(&list, Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"1.bmp", "3.bmp", "2.bmp"}));
  EXPECT_TRUE(Window().Project().Modified());
  prompt_.Answer(mrYes);
  QTest::keyClick(&list, Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(GalleryNames(), (std::vector<std::string>{"1.bmp", "2.bmp"}));
}

// Catches a pop-up menu offering Delete and Edit Description with nothing
// to work on.
TEST_F(MainFormTest, ThePopUpMenuOffersOnlyWhatFitsTheSelection) {
  Start();
  AddImages({Picture("1.bmp")});
  QMenu& popup = Find<QMenu>("pmnImages");
  const auto visible = [&popup] {
    std::vector<std::string> names;
    for (QAction* item : popup.actions())
      if (item->isVisible() && !item->isSeparator()) names.push_back(item->objectName().toStdString());
    return names;
  };
  emit popup.aboutToShow();
  EXPECT_EQ(visible(), (std::vector<std::string>{"AddFolder1", "AddFiles1", "SelectAll1"}));
  EXPECT_EQ(Action("AddFolder1").text(), "Add Folder");
  Select({0});
  emit popup.aboutToShow();
  EXPECT_EQ(visible(), (std::vector<std::string>{"miEditCaption", "AddFolder1", "AddFiles1", "mipDelete", "SelectAll1"}));
  EXPECT_EQ(popup.defaultAction(), &Action("miEditCaption"));
}

// Catches the bold default item cut short in a menu measured for the regular
// font, Select All without its shortcut, and size items that are no radio
// group.
TEST_F(MainFormTest, ThePopUpMenuShowsItsItemsWholeWithTheirShortcuts) {
  Start();
  AddImages({Picture("1.bmp")});
  Select({0});
  QMenu& popup = Find<QMenu>("pmnImages");
  emit popup.aboutToShow();
  QMenu plain;  // the same items, none bold
  for (QAction* item : popup.actions()) plain.addAction(item->text())->setShortcut(item->shortcut());
  QFont bold = popup.font();
  bold.setBold(true);
  const QString text = Action("miEditCaption").text();
  EXPECT_GE(popup.sizeHint().width(), plain.sizeHint().width() + QFontMetrics(bold).horizontalAdvance(text) -
                                          popup.fontMetrics().horizontalAdvance(text));
  EXPECT_EQ(Action("SelectAll1").shortcut(), Action("acnSelectAll").shortcut());
  const QActionGroup* sizes = Action("miIconSize50x50").actionGroup();
  EXPECT_TRUE(sizes && sizes->isExclusive() && Action("miIconSize100x100").actionGroup() == sizes &&
              Action("miIconSize75x75").actionGroup() == sizes);
}

// Catches Select All and Invert Selection missing items.
TEST_F(MainFormTest, SelectAllAndInvertSelectionCoverEveryItem) {
  Start();
  AddImages({Picture("1.bmp"), Picture("2.bmp"), Picture("3.bmp")});
  Select({1});
  Trigger("acnInvertSelection");
  EXPECT_TRUE(Window().ImageView().IsSelected(0) && !Window().ImageView().IsSelected(1) &&
              Window().ImageView().IsSelected(2));
  EXPECT_TRUE(Enabled("acnGroupUp"));
  Trigger("acnSelectAll");
  EXPECT_EQ(Window().ImageView().SelCount(), 3);
}

}  // namespace
}  // namespace tessalune::test

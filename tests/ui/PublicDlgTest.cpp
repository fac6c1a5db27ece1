// SPDX-License-Identifier: GPL-3.0-or-later
// The publishing dialog's settings, controls, template list and help.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "ConfigSandbox.h"
#include "DialogAnswerer.h"
#include "EditLib.h"
#include "HelpTopics.h"
#include "PublicDlgFixture.h"

namespace tessalune::test {
namespace {

// The settings that the dialog neither shows nor changes.
const std::set<std::string> kNotShown = {"PageLinkStyle", "BeforePageLink",      "AfterPageLink",
                                         "IsCopyImages",  "IsNotOverrideImages", "IsNotOverrideIcons"};

TEST_F(PublicDlgTest, EverySettingShownGoesBackUnchangedAndTheOthersAreLeftAlone) {
  for (const TGallerySetting& setting : TPicGallery::Settings()) SetOtherValue(gallery_, setting, "-value");
  MakeTemplate(gallery_.Template());
  Open();
  EXPECT_FALSE(ApplyEnabled() || Find<QPushButton>("btnReset").isEnabled());
  TPicGallery stored;
  stored.Clear();
  for (const TGallerySetting& setting : TPicGallery::Settings())
    if (kNotShown.count(setting.Name)) SetOtherValue(stored, setting, "-kept");
  Dialog().SetGallery(stored);
  Dialog().SaveToGallery();
  for (const TGallerySetting& setting : TPicGallery::Settings()) {
    const TPicGallery& expected = kNotShown.count(setting.Name) ? stored : gallery_;
    EXPECT_EQ(ValueOf(stored, setting), ValueOf(expected, setting)) << setting.Name;
  }
}

struct NumberCase {
  const char* Edit;
  const char* Text;
  std::int32_t (TPicGallery::*Setting)() const;
  std::int32_t Stored;
};

// A number beyond the bounds is stored as the nearest bound, an empty or
// unreadable one as the lower bound.
TEST_F(PublicDlgTest, NumbersAreStoredWithinTheBounds) {
  const NumberCase cases[] = {{"edtIconWidth", "5", &TPicGallery::IconWidth, 10},
                              {"edtColCount", "99999", &TPicGallery::ColCount, 32000},
                              {"edtIconQuality", "", &TPicGallery::IconQuality, 1},
                              {"edtCellsSpacing", "99", &TPicGallery::CellsSpacing, 40},
                              {"edtIconBorder", "5000", &TPicGallery::IconBorder, 1000},
                              {"edtImageHeight", "abc", &TPicGallery::ImageHeight, 10}};
  Open();
  for (const NumberCase& number : cases) SetText(number.Edit, number.Text);
  Dialog().SaveToGallery();
  for (const NumberCase& number : cases)
    EXPECT_EQ((gallery_.*number.Setting)(), number.Stored) << number.Edit;
}

// A setting beyond the bounds shows as it is; typing takes the edit's digits.
TEST_F(PublicDlgTest, NumberEditsShowAnyNumberAndTakeOnlyTheirDigits) {
  gallery_.SetIconWidth(123456);
  Open();
  EXPECT_EQ(Find<TNaturalEdit>("edtIconWidth").text(), "123456");
  auto& height = Find<TNaturalEdit>("edtIconHeight");
  height.clear();
  QTest::keyClicks(&height, "12345");
  EXPECT_EQ(height.text(), "123");
}

TEST_F(PublicDlgTest, ALinkSizeOutsideTheListSelectsNothingAndIsStoredAsMinusOne) {
  gallery_.SetLinkSize(3);
  Open();
  EXPECT_EQ(Find<QComboBox>("cbxLinkSize").currentIndex(), -1);
  Dialog().SaveToGallery();
  EXPECT_EQ(gallery_.LinkSize(), -1);
}

std::vector<std::string> Items(const QComboBox& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.count(); ++i) items.push_back(list.itemText(i).toStdString());
  return items;
}

TEST_F(PublicDlgTest, TheTemplateListHoldsTheVisibleFoldersInAlphabeticalOrder) {
  MakeTemplate("Blue.2");
  MakeTemplate("amber");
  MakeTemplate(".hidden");
  box_.Write("Templates/notes.txt", "not a template");
  gallery_.SetTemplate("blue.2");
  Open();
  auto& list = Find<QComboBox>("cbxTemplates");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"amber", "Blue.2", "Grid"}));
  EXPECT_EQ(list.currentText(), "Blue.2");  // found without regard to letter case
  MakeTemplate("Added");
  std::filesystem::remove_all(box_.File("Templates/Blue.2"));
  Click("btnRefresh");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"Added", "amber", "Grid"}));
  EXPECT_EQ(list.currentText(), "Added");
}

TEST_F(PublicDlgTest, AnUnlistedTemplateSelectsTheFirstAndIsStoredAsThat) {
  MakeTemplate("Frames");
  gallery_.SetTemplate("Gone");
  Open();
  Dialog().SaveToGallery();
  EXPECT_EQ(gallery_.Template(), "Frames");
  std::filesystem::remove_all(box_.File("Templates"));
  Open();
  EXPECT_EQ(Find<QComboBox>("cbxTemplates").count(), 0);
  Dialog().SaveToGallery();
  EXPECT_EQ(gallery_.Template(), "");
}

// Catches the Title and Caption edits kept to their own short width, and a
// long template name widening the dialog.
TEST_F(PublicDlgTest, TheTextsTakeThePagesWidthAndATemplateNameWidensNothing) {
  Open();
  const int width = Dialog().sizeHint().width();
  Dialog().show();
  Dialog().ShowPage(TfrmPublic::pgDescription);
  for (const char* name : {"edtTitle", "edtCaption"}) {
    const auto& edit = Find<QLineEdit>(name);
    EXPECT_EQ(edit.geometry().right(), edit.parentWidget()->contentsRect().right()) << name;
  }
  MakeTemplate(std::string(200, 'W'));
  Open();
  EXPECT_EQ(Dialog().sizeHint().width(), width);
}

TEST_F(PublicDlgTest, TheScreenshotIsShownWithinItsBoxAndNeverEnlarged) {
  MakeTemplate("Wide", true, 600, 200);
  MakeTemplate("Small", true, 40, 20);
  box_.Write("Templates/Broken/screenshot.jpg", "no picture");
  gallery_.SetTemplate("Wide");
  Open();
  auto& screenShot = Find<QLabel>("imgTemplateScreenShot");
  EXPECT_EQ(screenShot.pixmap().size(), QSize(150, 50));
  auto& list = Find<QComboBox>("cbxTemplates");
  for (const auto& [name, size] : {std::pair{"Small", QSize(40, 20)}, std::pair{"Grid", QSize(0, 0)},
                                   std::pair{"Broken", QSize(30, 30)}}) {
    list.setCurrentText(name);
    emit list.activated(list.currentIndex());
    EXPECT_EQ(screenShot.pixmap().size(), size) << name;  // the error mark when unreadable
  }
  EXPECT_TRUE(ApplyEnabled());
  Click("btnEdit");
  EXPECT_EQ(opened_, std::vector<std::string>{"file://" + box_.File("Templates")});
}

// Changes mark Apply and Reset enabled, except those on the Navigation page
// and of the banner box.
TEST_F(PublicDlgTest, ChangesOutsideNavigationEnableApplyAndReset) {
  const std::pair<const char*, bool> controls[] = {
      {"edtFirstPageName", true}, {"rbnOverrideFiles", true}, {"edtCellsSpacing", true},
      {"cbxCellHeigth", true},    {"cetVisitedLink", true},   {"cbxLinkSize", true},
      {"cbxHideBanner", false},   {"cbxThHomeLink", false},   {"edtImThumbLink", false}};
  for (const auto& [name, marks] : controls) {
    Open();
    QWidget& control = Find<QWidget>(name);
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) edit->setText(edit->text() + "1");
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) button->click();
    if (auto* list = qobject_cast<QComboBox*>(&control)) emit list->activated(1);
    if (auto* color = qobject_cast<TColorEdit*>(&control)) emit color->OnChange();
    EXPECT_EQ(ApplyEnabled(), marks) << name;
    EXPECT_EQ(Find<QPushButton>("btnReset").isEnabled(), marks) << name;
  }
}

TEST_F(PublicDlgTest, NavigationChangesLeaveApplyDisabledButAreStoredByOk) {
  Open();
  Click("cbxThHomeLink");
  SetText("edtThHomeLinkAddress", "https://example.org/");
  EXPECT_FALSE(ApplyEnabled());
  Click("btnOk");
  EXPECT_EQ(Dialog().result(), QDialog::Accepted);
  Dialog().SaveToGallery();
  EXPECT_TRUE(gallery_.IsThHomeLink());
  EXPECT_EQ(gallery_.ThHomeLinkAddr(), "https://example.org/");
}

TEST_F(PublicDlgTest, CheckBoxesSwitchTheControlsThatDependOnThem) {
  gallery_.SetIsCellWidth(false);
  Open();
  auto enabled = [this](const char* name) { return Find<QWidget>(name).isEnabled(); };
  EXPECT_TRUE(Find<QGroupBox>("gbxImageSettings").isHidden());
  Click("cbxConvertImages");
  EXPECT_FALSE(Find<QGroupBox>("gbxImageSettings").isHidden());
  EXPECT_TRUE(enabled("edtImageQuality") && enabled("lblImageQuality"));
  EXPECT_FALSE(enabled("edtImageWidth") || enabled("lblImageHeight"));
  Click("cbxImageResize");
  EXPECT_TRUE(enabled("edtImageHeight") && enabled("lblImageWidth"));
  EXPECT_FALSE(enabled("edtCellWidth"));
  Click("cbxCellWidth");
  EXPECT_TRUE(enabled("edtCellWidth"));
  EXPECT_FALSE(enabled("edtThHomeLinkAddress"));
  Click("cbxThHomeLink");
  EXPECT_TRUE(enabled("edtThHomeLink") && enabled("edtThHomeLinkAddress"));
}

TEST_F(PublicDlgTest, ApplyStoresAndResetReloads) {
  Open();
  SetText("edtTitle", "Applied");
  Click("btnApply");
  EXPECT_EQ(gallery_.Title(), "Applied");
  EXPECT_FALSE(ApplyEnabled());
  SetText("edtTitle", "Not applied");
  Click("btnReset");
  EXPECT_EQ(Find<QLineEdit>("edtTitle").text(), "Applied");
  EXPECT_FALSE(ApplyEnabled());
}

// OK stores everything and closes; an empty prefix becomes "th_" only
// without a thumbnails sub-folder.
TEST_F(PublicDlgTest, OkInOptionsModeStoresAndGivesAnEmptyPrefixWithoutSubFolderTheDefault) {
  gallery_.SetIconPrefix("");
  gallery_.SetIconsFolder("");
  DialogAnswerer dialogs;
  dialogs.Answer<TfrmPublic>([](TfrmPublic& shown) {
    EXPECT_EQ(shown.findChild<QPushButton*>("btnOk")->text(), "OK");
    shown.findChild<QLineEdit*>("edtCaption")->setText("Stored");
    shown.findChild<QPushButton*>("btnOk")->click();
  });
  EXPECT_TRUE(ShowPublishDialog(false, gallery_));
  EXPECT_EQ(gallery_.IconPrefix(), "th_");
  EXPECT_EQ(gallery_.Caption(), "Stored");
  gallery_.SetIconPrefix("");
  gallery_.SetIconsFolder("thumbs");
  Open();
  Click("btnOk");
  Dialog().SaveToGallery();
  EXPECT_EQ(gallery_.IconPrefix(), "");
}

// Every help context of the dialog, and some controls without one.
constexpr std::pair<const char*, int> kHelp[] = {
    {"edtOutFolder", 50},     {"edtIconsFolder", 60},     {"edtPagesFolder", 80},
    {"edtImagesFolder", 90},  {"edtIconPrefix", 70},      {"cbxLaunch", 160},
    {"cbxTemplates", 170},    {"btnEdit", 180},           {"btnRefresh", 190},
    {"edtIconWidth", 200},    {"edtIconHeight", 210},     {"edtIconQuality", 220},
    {"edtColCount", 230},     {"edtRowCount", 240},       {"edtCellsPadding", 335},
    {"edtCellsSpacing", 330}, {"edtCellWidth", 280},      {"edtCellHeight", 290},
    {"edtIconBorder", 320},   {"cbxConvertImages", 110},  {"cbxCreateImagePages", 130},
    {"edtImageQuality", 120}, {"edtTitle", 250},          {"edtCaption", 260},
    {"btnImportStyle", 340},  {"btnSetDefaultStyle", 350}, {"edtFirstPageName", 0},
    {"cbxImageResize", 0},    {"edtImageWidth", 0},       {"cetLink", 0},
    {"cbxThHomeLink", 0},     {"edtImNextLink", 0},
};

// Browse opens the folder that Publish would publish into.
TEST_F(PublicDlgTest, BrowseOpensTheOutputFolderWithoutItsBlanksAndWithTildeAsHome) {
  const ConfigSandbox home;
  const std::string folder = home.Files().File("home/x");
  std::filesystem::create_directories(folder);
  Open();
  SetText("edtOutFolder", " ~/x ");
  std::string shown;
  DialogAnswerer dialogs;
  dialogs.Answer<QFileDialog>([&shown](QFileDialog& picker) {
    shown = picker.directory().absolutePath().toStdString();
    picker.reject();
  });
  Click("btnBrowseOutFolder");
  EXPECT_EQ(shown, folder);
  EXPECT_EQ(Find<QLineEdit>("edtOutFolder").text(), " ~/x ");
}

// The topics are the shipped ones, read from the source folder.
TEST_F(PublicDlgTest, EveryControlCarriesItsHelpContextAndEveryContextHasATopic) {
  const ScopedHelpFolder help(TESSALUNE_HELP_SOURCE);
  Open();
  for (const auto& [name, context] : kHelp) {
    auto& control = Find<QWidget>(name);
    EXPECT_EQ(HelpContext(control), context) << name;
    EXPECT_EQ(control.whatsThis().isEmpty(), context == 0) << name;
  }
  // A click on a number edit's arrow shows the edit's help.
  auto& width = Find<TNaturalEdit>("edtIconWidth");
  EXPECT_EQ(HelpControl(width.findChild<QToolButton*>("btnUp")), &width);
}

// The control Tab moves to from control.
QWidget* NextTabStop(QWidget* control) {
  do control = control->nextInFocusChain();
  while (!(control->focusPolicy() & Qt::TabFocus));
  return control;
}

TEST_F(PublicDlgTest, TabFollowsTheOrderOfTheControls) {
  Open();
  const std::vector<const char*> order = {
      "edtOutFolder", "btnBrowseOutFolder", "edtIconsFolder", "edtPagesFolder", "edtImagesFolder",
      "edtIconPrefix", "edtFirstPageName", "rbnNotOverrideFiles", "rbnOverrideFiles", "cbxLaunch",
      "cbxTemplates", "btnEdit", "btnRefresh", "edtIconWidth", "edtIconHeight", "edtIconQuality",
      "edtColCount", "edtRowCount", "edtCellsPadding", "edtCellsSpacing", "cbxCellWidth", "edtCellWidth",
      "cbxCellHeigth", "edtCellHeight", "btnSelectBackImage", "btnClearBackImage", "cbxLinkSize",
      "edtIconBorder", "cbxTableColor", "btnImportStyle", "btnSetDefaultStyle", "cbxImageResize",
      "cbxConvertImages", "cbxCreateImagePages", "edtImageQuality", "edtImageWidth", "edtImageHeight",
      "edtTitle", "edtCaption", "cbxShowIconCaption", "cbxShowImageCaption", "cbxHideBanner",
      "cbxThHomeLink", "edtThHomeLink", "edtThHomeLinkAddress", "cbxThPrevLink", "edtThPrevLink",
      "cbxThPageLink", "edtThPageLink", "cbxThNextLink", "edtThNextLink", "cbxImHomeLink", "edtImHomeLink",
      "edtImHomeLinkAddress", "cbxImPrevLink", "edtImPrevLink", "cbxImThumbLink", "edtImThumbLink",
      "cbxImNextLink", "edtImNextLink"};
  for (std::size_t i = 0; i + 1 < order.size(); ++i)
    EXPECT_EQ(NextTabStop(&Find<QWidget>(order[i]))->objectName().toStdString(), order[i + 1]);
  const QWidget* notStops[] = {Find<QTabWidget>("PageControl").tabBar(), &Find<QWidget>("btnOk"),
                               &Find<QWidget>("btnApply")};
  for (const QWidget* control : notStops) EXPECT_EQ(control->focusPolicy(), Qt::NoFocus);
}

// The template list would take the keys itself: Ctrl+PageDown chose the
// next template and Ctrl+Tab did nothing.
TEST_F(PublicDlgTest, CtrlTabAndCtrlPageKeysTurnThePagesAlsoFromTheTemplateList) {
  MakeTemplate("Other");
  Open();
  Dialog().show();
  Dialog().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog()));
  auto& templates = Find<QComboBox>("cbxTemplates");
  const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Tab, TfrmPublic::pgPageStyle},
                                          {Qt::Key_PageDown, TfrmPublic::pgPageStyle},
                                          {Qt::Key_Backtab, TfrmPublic::pgGeneral},
                                          {Qt::Key_PageUp, TfrmPublic::pgGeneral}};
  for (const auto& [key, page] : keys) {
    Dialog().ShowPage(TfrmPublic::pgPageLayout);
    templates.setFocus();
    const auto shift = key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
    QTest::keyClick(&templates, key, Qt::ControlModifier | shift);
    EXPECT_EQ(CurrentPage(), page) << key;
  }
  EXPECT_EQ(templates.currentText(), "Grid");
}

}  // namespace
}  // namespace tessalune::test

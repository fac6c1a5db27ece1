// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublicDlg.h"

#include <algorithm>
#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>

#include "AsciiText.h"
#include "EditLib.h"
#include "ErrorDisplay.h"
#include "FileLib.h"
#include "Globals.h"
#include "HelpTopics.h"
#include "PathDialog.h"
#include "PicIcon.h"
#include "ProgressDlg.h"
#include "PublicDlgControls.h"
#include "ShellLib.h"
#include "ShellOpen.h"
#include "TextCompare.h"

namespace tessalune {

bool ShowPublishDialog(bool publishMode, TPicGallery& gallery, QWidget* owner) {
  TfrmPublic dialog(owner ? owner : QApplication::activeWindow());
  dialog.SetGallery(gallery);
  dialog.LoadFromGallery();
  dialog.UpdateControls();
  dialog.ShowPage(TfrmPublic::pgGeneral);
  dialog.SetPublishMode(publishMode);
  const bool ok = dialog.exec() == QDialog::Accepted;
  if (ok) dialog.SaveToGallery();
  return ok;
}

TfrmPublic::TfrmPublic(QWidget* Owner)
    : QDialog(Owner),
      ScreenShotIcon(std::make_unique<TPicIcon>()),
      pdgOutFolder(new TPathDialog(this)),
      PageControl(new QTabWidget) {
  setObjectName("frmPublic");
  setWindowTitle("Publishing Options");
  ScreenShotIcon->Fast = true;
  pdgOutFolder->Title = "Select the folder for publishing the gallery";

  PageControl->setObjectName("PageControl");
  PageControl->setFocusPolicy(Qt::NoFocus);
  PageControl->addTab(CreateGeneralPage(), "General");
  PageControl->addTab(CreatePageLayoutPage(), "Page Layout");
  PageControl->addTab(CreatePageStylePage(), "Page Style");
  PageControl->addTab(CreateFullSizeImagesPage(), "Full-size Images");
  PageControl->addTab(CreateDescriptionPage(), "Description");
  PageControl->addTab(CreateNavigationPage(), "Navigation");
  auto* layout = new QGridLayout(this);
  layout->addWidget(PageControl, 0, 0, 1, 5);
  CreateButtons(*layout);
  CreatePageShortcuts();

  LinkSettings();
  ConnectHandlers();
  InstallControlHelp(*this);
}

TfrmPublic::~TfrmPublic() = default;

// Below the pages: Reset at the left, OK, Cancel and Apply at the right.
// None takes the focus: Enter presses OK and Escape presses Cancel.
void TfrmPublic::CreateButtons(QGridLayout& layout) {
  btnReset = NewButton("btnReset", "Reset");
  btnOk = NewButton("btnOk", "OK");
  btnCancel = NewButton("btnCancel", "Cancel");
  btnApply = NewButton("btnApply", "Apply");
  const int row = NextRow(layout);
  layout.addWidget(btnReset, row, 0);
  layout.addWidget(btnOk, row, 2);
  layout.addWidget(btnCancel, row, 3);
  layout.addWidget(btnApply, row, 4);
  layout.setColumnStretch(1, 1);
  for (QPushButton* button : {btnReset, btnOk, btnCancel, btnApply}) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumSize(75, 25);
  }
  btnOk->setDefault(true);
  btnReset->setEnabled(false);
  btnApply->setEnabled(false);
}

// Ctrl+Tab and Ctrl+PageDown show the next page, Ctrl+Shift+Tab and
// Ctrl+PageUp the one before, wherever the focus is: a shortcut comes before
// the focused control, which would take these keys itself (the template list
// turns Ctrl+PageDown into another template).
void TfrmPublic::CreatePageShortcuts() {
  const auto turnOn = [this](const QList<QKeySequence>& keys, int step) {
    auto* shortcut = new QShortcut(this);
    shortcut->setKeys(keys);
    connect(shortcut, &QShortcut::activated, this, [this, step] { TurnPage(step); });
  };
  turnOn({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
  turnOn({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, -1);
}

// From the last page on to the first, and back.
void TfrmPublic::TurnPage(int step) {
  const int count = PageControl->count();
  PageControl->setCurrentIndex((PageControl->currentIndex() + step + count) % count);
}

template <class Sender, class Signal>
void TfrmPublic::Handle(Sender* sender, Signal signal, void (TfrmPublic::*handler)()) {
  connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
}

// Check boxes and radio buttons report every change of their state, also one
// made by loading the settings; edits every change of their text. Colour
// boxes and drop-down lists report only the user's choices.
void TfrmPublic::ConnectHandlers() {
  for (QLineEdit* edit : {edtOutFolder, edtIconsFolder, edtPagesFolder, edtImagesFolder, edtIconPrefix,
                          edtFirstPageName, edtTitle, edtCaption})
    Handle(edit, &QLineEdit::textChanged, &TfrmPublic::edtOutFolderChange);
  for (TNaturalEdit* edit : {edtIconWidth, edtIconHeight, edtIconQuality, edtColCount, edtRowCount,
                             edtCellsPadding, edtCellWidth, edtCellHeight, edtImageQuality, edtImageWidth,
                             edtImageHeight})
    Handle(edit, &QLineEdit::textChanged, &TfrmPublic::edtOutFolderChange);
  for (QRadioButton* button : {rbnNotOverrideFiles, rbnOverrideFiles})
    Handle(button, &QRadioButton::toggled, &TfrmPublic::edtOutFolderChange);
  for (QCheckBox* box : {cbxLaunch, cbxImageResize, cbxConvertImages, cbxCreateImagePages,
                         cbxShowIconCaption, cbxShowImageCaption})
    Handle(box, &QCheckBox::toggled, &TfrmPublic::cbxCopyImagesClick);
  for (QCheckBox* box : {cbxCellWidth, cbxCellHeigth})
    Handle(box, &QCheckBox::toggled, &TfrmPublic::cbxCellWidthClick);
  for (QCheckBox* box : {cbxThHomeLink, cbxThPrevLink, cbxThPageLink, cbxThNextLink, cbxImHomeLink,
                         cbxImPrevLink, cbxImThumbLink, cbxImNextLink})
    Handle(box, &QCheckBox::toggled, &TfrmPublic::cbxThHomeLinkClick);
  for (TColorEdit* box : {cetLink, cetActiveLink, cetVisitedLink, cetText, cetBackground,
                          cetLightBorderColor, cetDarkBorderColor, cetTableColor})
    Handle(box, &TColorEdit::OnChange, &TfrmPublic::cetLinkChange);
  for (TNaturalEdit* edit : {edtIconBorder, edtCellsSpacing})
    Handle(edit, &QLineEdit::textChanged, &TfrmPublic::cetLinkChange);
  Handle(cbxTableColor, &QCheckBox::toggled, &TfrmPublic::cetLinkChange);
  Handle(cbxLinkSize, &QComboBox::activated, &TfrmPublic::cetLinkChange);
  Handle(cbxTemplates, &QComboBox::activated, &TfrmPublic::cbxTemplatesChange);

  Handle(btnOk, &QPushButton::clicked, &TfrmPublic::btnOkClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  Handle(btnApply, &QPushButton::clicked, &TfrmPublic::btnApplyClick);
  Handle(btnReset, &QPushButton::clicked, &TfrmPublic::btnResetClick);
  Handle(btnBrowseOutFolder, &QPushButton::clicked, &TfrmPublic::btnBrowseOutFolderClick);
  Handle(btnEdit, &QPushButton::clicked, &TfrmPublic::btnEditClick);
  Handle(btnRefresh, &QPushButton::clicked, &TfrmPublic::btnRefreshClick);
  Handle(btnSelectBackImage, &QPushButton::clicked, &TfrmPublic::btnSelectBackImageClick);
  Handle(btnClearBackImage, &QPushButton::clicked, &TfrmPublic::btnClearBackImageClick);
  Handle(btnSetDefaultStyle, &QPushButton::clicked, &TfrmPublic::btnSetDefaultStyleClick);
  Handle(btnImportStyle, &QPushButton::clicked, &TfrmPublic::btnImportStyle1Click);
}

void TfrmPublic::SetPublishMode(bool Value) {
  publishMode_ = Value;
  btnOk->setText(Value ? "Publish" : "OK");
  btnCancel->setText(Value ? "Close" : "Cancel");
}

void TfrmPublic::ShowPage(TPage page) { PageControl->setCurrentIndex(page); }

void TfrmPublic::MarkChange() {
  btnApply->setEnabled(true);
  btnReset->setEnabled(true);
}

void TfrmPublic::edtOutFolderChange() { MarkChange(); }

void TfrmPublic::cbxCopyImagesClick() {
  UpdateControls();
  MarkChange();
}

void TfrmPublic::cbxCellWidthClick() { cbxCopyImagesClick(); }

void TfrmPublic::cbxThHomeLinkClick() { UpdateControls(); }

void TfrmPublic::UpdateControls() {
  const bool convert = cbxConvertImages->isChecked() || cbxImageResize->isChecked();
  const bool resize = cbxImageResize->isChecked();
  gbxImageSettings->setVisible(convert);
  for (QWidget* control : std::initializer_list<QWidget*>{edtImageQuality, lblImageQuality})
    control->setEnabled(convert);
  for (QWidget* control :
       std::initializer_list<QWidget*>{edtImageWidth, lblImageWidth, edtImageHeight, lblImageHeight})
    control->setEnabled(resize);
  // Each dependent control beside the check box that switches it.
  const std::pair<QCheckBox*, QLineEdit*> switched[] = {
      {cbxCellWidth, edtCellWidth},   {cbxCellHeigth, edtCellHeight},
      {cbxThHomeLink, edtThHomeLink}, {cbxThHomeLink, edtThHomeLinkAddress},
      {cbxThPrevLink, edtThPrevLink}, {cbxThPageLink, edtThPageLink},
      {cbxThNextLink, edtThNextLink}, {cbxImHomeLink, edtImHomeLink},
      {cbxImHomeLink, edtImHomeLinkAddress},
      {cbxImPrevLink, edtImPrevLink}, {cbxImThumbLink, edtImThumbLink},
      {cbxImNextLink, edtImNextLink},
  };
  for (const auto& [box, control] : switched) control->setEnabled(box->isChecked());
}

// Not while a run reads the settings (see btnOkClick).
void TfrmPublic::btnApplyClick() {
  if (ProgressForm) return;
  SaveToGallery();
  btnApply->setEnabled(false);
  btnReset->setEnabled(false);
}

void TfrmPublic::btnResetClick() {
  LoadFromGallery();
  cetLinkChange();
  btnApply->setEnabled(false);
  btnReset->setEnabled(false);
}

// The folder opened is the one Publish would publish into: the text without
// blanks at its ends, "~/" standing for the home folder.
void TfrmPublic::btnBrowseOutFolderClick() {
  const std::string folder = Trim(edtOutFolder->text().toStdString());
  pdgOutFolder->SetDirectory(folder.empty() ? "/" : ExpandHomeFolder(folder));
  if (pdgOutFolder->Execute()) edtOutFolder->setText(QString::fromStdString(pdgOutFolder->Directory()));
}

// The templates root itself, where the user adds, copies and edits templates.
void TfrmPublic::btnEditClick() { ShellOpenFile(TemplatesRoot()); }

void TfrmPublic::FillTemplateList() {
  std::vector<std::string> names;
  const TFileFolder folders(TemplatesRoot(), fkFolders);
  for (int i = 0; i < folders.Count(); ++i) names.push_back(folders.GetFileName(i));
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  cbxTemplates->clear();
  for (const std::string& name : names) cbxTemplates->addItem(QString::fromStdString(name));
}

// The item of that name, letter case ignored (a folder of exactly that name
// first), or the first item when there is none.
void TfrmPublic::SelectTemplate(const std::string& name) {
  int found =
      cbxTemplates->findText(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchCaseSensitive);
  for (int i = 0; i < cbxTemplates->count() && found < 0; ++i)
    if (AnsiCompareText(cbxTemplates->itemText(i).toStdString(), name) == 0) found = i;
  cbxTemplates->setCurrentIndex(std::max(found, 0));
}

void TfrmPublic::btnRefreshClick() {
  const std::string selected = cbxTemplates->currentText().toStdString();
  FillTemplateList();
  SelectTemplate(selected);
}

void TfrmPublic::cbxTemplatesChange() {
  ShowScreenShot();
  MarkChange();
}

// The screenshot made in device pixels, so that it stays sharp on screens
// with a scale above 100 %.
void TfrmPublic::ShowScreenShot() {
  const std::string file =
      TemplatesRoot() + "/" + cbxTemplates->currentText().toStdString() + "/screenshot.jpg";
  std::error_code unreadable;
  if (!std::filesystem::is_regular_file(file, unreadable)) {
    imgTemplateScreenShot->clear();
    return;
  }
  const qreal ratio = imgTemplateScreenShot->devicePixelRatioF();
  ScreenShotIcon->MaxWidth = int(imgTemplateScreenShot->width() * ratio);
  ScreenShotIcon->MaxHeight = int(imgTemplateScreenShot->height() * ratio);
  ScreenShotIcon->LoadFromFile(file);
  QPixmap screenShot = QPixmap::fromImage(ScreenShotIcon->Bitmap);
  screenShot.setDevicePixelRatio(ratio);
  imgTemplateScreenShot->setPixmap(screenShot);
}

}  // namespace tessalune

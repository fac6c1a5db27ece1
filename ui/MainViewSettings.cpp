// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's view settings: the View menu, and its marks, the
// thumbnail size and the side panel's width in the settings store, read
// when the window is made and written when it goes.
#include <QAction>

#include "FormKeeper.h"
#include "ImageView.h"
#include "MainActions.h"
#include "MainForm.h"
#include "MainSidePanel.h"
#include "RegistryLib.h"
#include "ShellLib.h"

namespace tessalune {

// Each value is read only when it is there; one that is not, or that
// cannot be read, keeps the window's first-run setting.
void TfrmMain::FormKeeperLoad(TRegistry& Reg) {
  TMainActions& view = *Actions_;
  DefaultImageFolder = ReadOptionalString(Reg, "DefaultImageFolder").value_or(GetPersonalFolder());
  if (const auto width = ReadOptionalInteger(Reg, "pnlPreview")) SetPreviewWidth(*width);
  if (const auto on = ReadOptionalBool(Reg, "ImagePreview")) view.miImagePreview->setChecked(*on);
  if (const auto on = ReadOptionalBool(Reg, "ImageProp")) view.miImageProperties->setChecked(*on);
  if (const auto on = ReadOptionalBool(Reg, "ImageDesc")) view.miImageDescription->setChecked(*on);
  if (const auto on = ReadOptionalBool(Reg, "TableView")) {
    view.miTableView->setChecked(*on);
    view.miListView->setChecked(!view.miTableView->isChecked());
  }
  if (const auto width = ReadOptionalInteger(Reg, "IconWidth")) ImageView_->SetIconWidth(*width);
  if (const auto height = ReadOptionalInteger(Reg, "IconHeight")) ImageView_->SetIconHeight(*height);
}

void TfrmMain::FormKeeperSave(TRegistry& Reg) {
  const TMainActions& view = *Actions_;
  Reg.WriteString("DefaultImageFolder", DefaultImageFolder);
  Reg.WriteInteger("pnlPreview", PreviewWidth());
  Reg.WriteBool("ImagePreview", view.miImagePreview->isChecked());
  Reg.WriteBool("ImageProp", view.miImageProperties->isChecked());
  Reg.WriteBool("ImageDesc", view.miImageDescription->isChecked());
  Reg.WriteBool("TableView", view.miTableView->isChecked());
  Reg.WriteInteger("IconWidth", ImageView_->IconWidth());
  Reg.WriteInteger("IconHeight", ImageView_->IconHeight());
}

void TfrmMain::ApplyViewSettings() {
  const TMainActions& view = *Actions_;
  ImageView_->SetThumbnailMode(view.miTableView->isChecked());
  ImageView_->SetViewStyle(view.miListView->isChecked() ? TImageView::vsList : TImageView::vsIcon);
  ImageView_->SortByGalleryOrder();
  pnlPreview->SetInfoVisible(view.miImageProperties->isChecked());
  pnlPreview->SetDescriptionVisible(view.miImageDescription->isChecked());
}

// Qt has already flipped the mark when a toggle's handler runs.
void TMainActions::miImagePreviewClick() {
  Form.UpdatePreviewPanel();
  Form.UpdatePreview();
}

void TMainActions::miImagePropertiesClick() {
  Form.PreviewPanel().SetInfoVisible(miImageProperties->isChecked());
  Form.UpdatePreviewPanel();
  Form.UpdateImageProperties();
  Form.UpdatePreview();
}

void TMainActions::miImageDescriptionClick() {
  Form.PreviewPanel().SetDescriptionVisible(miImageDescription->isChecked());
  Form.UpdatePreviewPanel();
  Form.UpdateImageDescription();
  Form.UpdatePreview();
}

void TMainActions::miListViewClick() {
  miListView->setChecked(true);
  Form.ApplyViewSettings();
}

void TMainActions::miTableViewClick() {
  miTableView->setChecked(true);
  Form.ApplyViewSettings();
}

// The marks follow the width each time the submenu opens: a stored width of
// another size leaves all three unmarked.
void TMainActions::miIconSizeClick() {
  const int width = Form.ImageView().IconWidth();
  miIconSize50x50->setChecked(width == 50);
  miIconSize75x75->setChecked(width == 75);
  miIconSize100x100->setChecked(width == 100);
}

void TMainActions::miIconSize50x50Click() { Form.ImageView().SetIconSize(50, 50); }

void TMainActions::miIconSize75x75Click() { Form.ImageView().SetIconSize(75, 75); }

void TMainActions::miIconSize100x100Click() { Form.ImageView().SetIconSize(100, 100); }

}  // namespace tessalune

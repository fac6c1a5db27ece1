// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window's commands do. Two kinds of command mark the gallery
// modified: the additions, Delete, the moves and the groupings whenever they
// run, even when nothing changed; the dialogs, Import and Sort By only when
// the gallery's checksum changed, Rename Images when a file name changed.
#include <exception>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>

#include "About.h"
#include "CaptionEdit.h"
#include "ErrorDisplay.h"
#include "FileLib.h"
#include "FileReplace.h"
#include "GalleryProp.h"
#include "HelpTopics.h"
#include "ImageView.h"
#include "MainActions.h"
#include "MainForm.h"
#include "MainSidePanel.h"
#include "OptionsDlg.h"
#include "PathDialog.h"
#include "PrjLib.h"
#include "PublicDlg.h"
#include "ShellOpen.h"
#include "TlRename.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

// The pictures Add Images offers: every kind the program reads, then each kind.
constexpr char kPictureFilter[] =
    "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|"
    "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
    "All Files|*.*";

// The pictures' file names in gallery order.
std::vector<std::string> PictureFileNames(const TPicGallery& gallery) {
  std::vector<std::string> names;
  for (int i = 0; i < gallery.GetImageCount(); ++i) names.push_back(gallery.GetImageFile(i)->FileName);
  return names;
}

// Saves the gallery after its files were renamed. A save that fails leaves
// the gallery modified (TProject), and its error says what that means here
// and where the gallery can still be saved.
void SaveRenamedGallery(TProject& project) {
  try {
    project.Save();
  } catch (const std::exception& error) {
    const char* remedy = CanReplaceFile(project.FileName())
                             ? "save the gallery before closing it."
                             : "save the gallery under another name with Save As before closing it.";
    UserPrompt().ShowErrorMessage(ErrorDisplayText(error.what()) +
                                  "\n\nThe pictures were renamed on disk, but the gallery file "
                                  "still lists their old names: " + remedy);
  }
}

// The main window's help topic (F1) and the upload topic.
constexpr int kMainWindowTopic = 40;
constexpr int kUploadTopic = 360;

}  // namespace

void TMainActions::MarkModified() { Form.Project().SetModified(true); }

void TMainActions::AddPictures(const std::vector<std::string>& files) {
  Form.Gallery().AddFiles(files);
  Form.SyncImageView();
  MarkModified();
}

void TMainActions::ReorderSelection(void (TImageView::*reorder)()) {
  (Form.ImageView().*reorder)();
  MarkModified();
}

// An edit that stored settings before its dialog was left counts as a
// change whatever button closed it; an unchanged gallery does not.
void TMainActions::ByCheckSum(const std::function<void()>& edit) {
  const std::int32_t before = Form.Gallery().GetCheckSum();
  edit();
  if (Form.Gallery().GetCheckSum() != before) MarkModified();
}

void TMainActions::acnNewExecute() { Form.Project().New(); }

void TMainActions::acnOpenExecute() { Form.Project().Open(); }

void TMainActions::acnSaveExecute() { Form.Project().Save(); }

void TMainActions::acnSaveAsExecute() { Form.Project().SaveAs(); }

void TMainActions::acnImportExecute() {
  ByCheckSum([this] {
    Form.Gallery().Import();
    Form.SyncImageView();
  });
}

void TMainActions::acnExitExecute() { Form.close(); }

// Every file directly in the folder, whatever its kind, hidden ones aside.
void TMainActions::acnAddFolderExecute() {
  pdgAddFolder->Title = "Select the folder with images";
  pdgAddFolder->SetDirectory(Form.DefaultImageFolder.empty() ? "/" : Form.DefaultImageFolder);
  if (!pdgAddFolder->Execute()) return;
  Form.DefaultImageFolder = pdgAddFolder->Directory();
  const TFileFolder folder(pdgAddFolder->Directory(), fkFiles);
  AddPictures(std::vector<std::string>(folder.begin(), folder.end()));
}

void TMainActions::acnAddFilesExecute() {
  TFileDialogRequest request;
  request.Title = "Select the images";
  request.Filter = kPictureFilter;
  request.InitialDir = Form.DefaultImageFolder;
  request.AllowMultiSelect = true;
  request.PicturePreview = true;
  request.FileMustExist = false;
  std::vector<std::string> files;
  if (!UserPrompt().OpenDialog(request, files) || files.empty()) return;
  Form.DefaultImageFolder = FolderOfFileName(files.front());
  AddPictures(files);
}

// Only the gallery's entries go; the picture files stay.
void TMainActions::acnDeleteExecute() {
  TImageView& list = Form.ImageView();
  if (list.SelCount() == 0) return;
  if (MessageDlg("Do you want to delete the selected items from gallery?", TMsgDlgType::mtConfirmation,
                 mbYes | mbNo) != mrYes)
    return;
  {
    const TImageViewUpdate update(list);
    while (list.SelCount() > 0) {
      const int item = list.Selected();
      Form.Gallery().ImageFiles().Delete(list.GetImageFileAt(item)->Index());
      list.Delete(item);
    }
  }
  MarkModified();
}

void TMainActions::acnMoveTopExecute() { ReorderSelection(&TImageView::MoveSelectedTop); }

void TMainActions::acnMoveUpExecute() { ReorderSelection(&TImageView::MoveSelectedUp); }

void TMainActions::acnMoveDownExecute() { ReorderSelection(&TImageView::MoveSelectedDown); }

void TMainActions::acnMoveBottomExecute() { ReorderSelection(&TImageView::MoveSelectedBottom); }

void TMainActions::acnGroupUpExecute() { ReorderSelection(&TImageView::GroupSelectedUp); }

void TMainActions::acnGroupDownExecute() { ReorderSelection(&TImageView::GroupSelectedDown); }

void TMainActions::acnSortByExecute() {
  ByCheckSum([this] { Form.ImageView().SortImages(); });
}

// In one step, so that the side panel refreshes once.
void TMainActions::acnSelectAllExecute() { Form.ImageView().selectAll(); }

void TMainActions::acnInvertSelectionExecute() {
  TImageView& list = Form.ImageView();
  const QAbstractItemModel& items = *list.model();
  if (items.rowCount() == 0) return;
  const QItemSelection all(items.index(0, 0), items.index(items.rowCount() - 1, 0));
  list.selectionModel()->select(all, QItemSelectionModel::Toggle);
}

void TMainActions::acnPublishExecute() {
  ByCheckSum([this] { ShowPublishDialog(true, Form.Gallery(), &Form); });
}

void TMainActions::acnGalleryOptionsExecute() {
  ByCheckSum([this] { ShowPublishDialog(false, Form.Gallery(), &Form); });
}

void TMainActions::acnOptionsExecute() { ShowOptionsDialog(&Form); }

// Whatever the dialog did, the list's captions and the side panel show the
// files' names again. The files are renamed on disk at once, so a gallery
// file must not keep their old names: a named gallery whose file cannot be
// written renames nothing, and once any name changed, a named gallery is
// saved at once, before the run's closing warning, and an unnamed one is
// marked modified, whatever the checksum says (names of equal length may
// sum alike).
void TMainActions::miRenameImagesClick() {
  const std::string galleryFile = Form.Project().FileName();
  if (!galleryFile.empty() && !CanReplaceFile(galleryFile)) {
    MessageDlg("The gallery file \"" + galleryFile +
                   "\" cannot be written, so no picture was renamed. Save the gallery under "
                   "another name first.",
               TMsgDlgType::mtWarning, mbOK, 0);
    return;
  }
  const std::vector<std::string> before = PictureFileNames(Form.Gallery());
  ShowRenameDialog(Form.Gallery(), &Form, galleryFile, [&] {
    if (PictureFileNames(Form.Gallery()) == before) return;
    MarkModified();
    if (!galleryFile.empty()) SaveRenamedGallery(Form.Project());
  });
  TImageView& list = Form.ImageView();
  for (int i = 0; i < list.Count(); ++i) list.SetCaption(i, FileNamePart(list.GetImageFileAt(i)->FileName));
  Form.UpdateImageProperties();
}

// The first selected picture in list order. The preview fits itself to the
// room a taller or shorter description leaves.
void TMainActions::miEditCaptionClick() {
  TImageView& list = Form.ImageView();
  if (list.SelCount() == 0) return;
  ByCheckSum([&] {
    TImageFile& picture = *list.GetImageFileAt(list.Selected());
    std::string text = picture.Caption;
    if (!EditImageDescription(text, &Form)) return;
    picture.Caption = text;
    Form.UpdateImageDescription();
  });
}

void TMainActions::miContentClick() { ShellOpenFile(HelpFolder() + "/index.html"); }

void TMainActions::miHowtoUploadGalleryClick() { ShellOpenFile(HelpTopicFile(kUploadTopic)); }

void TMainActions::HelpKey() { ShellOpenFile(HelpTopicFile(kMainWindowTopic)); }

void TMainActions::miAboutClick() {
  TAboutForm about(&Form);
  about.SetProductIcon(QApplication::windowIcon());
  about.ProductLine = kProductLine;
  about.SiteAddress = kSiteAddress;
  about.MailAddress = kMailAddress;
  about.Execute();
}

}  // namespace tessalune

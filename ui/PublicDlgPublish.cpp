// SPDX-License-Identifier: GPL-3.0-or-later
// The Publish button of the publishing dialog: the checks of the settings,
// then one publish run under the progress window, then the browser.
#include <filesystem>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include "AsciiText.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "Globals.h"
#include "PageGen.h"
#include "ProgressDlg.h"
#include "PublicDlg.h"
#include "ShellLib.h"
#include "ShellOpen.h"
#include "StringLib.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

// The characters that would make a sub-folder name a path or an invalid name.
constexpr std::string_view kPathCharacters = ".\\/:*?\"<>|";

bool IsFile(const std::string& path) {
  std::error_code unreadable;
  return std::filesystem::is_regular_file(path, unreadable);
}

// The pictures of one kind under their heading, and a blank line; nothing
// when there are none.
std::string UnreadableGroup(const TPageGenerator& generator, TUnreadableAs kind, const std::string& heading) {
  const std::vector<std::string> pictures = generator.UnreadablePictures(kind);
  return pictures.empty() ? "" : heading + "\n" + NameLines(pictures) + "\n\n";
}

// Names the pictures that could not be read, by what went out for each, so
// that the user learns of them before the browser shows them. Publishing
// again with the existing files used would keep what went out for them.
void WarnOfUnreadable(const TPageGenerator& generator) {
  const std::string groups =
      UnreadableGroup(generator, TUnreadableAs::ErrorMark,
                      "These pictures could not be read and were published as an error mark:") +
      UnreadableGroup(generator, TUnreadableAs::BrokenLink,
                      "These pictures could not be copied and were published as a broken link:");
  if (groups.empty()) return;
  MessageDlg(groups + "Once they are mended, publish again with \"Overwrite the existing thumbnails and "
                      "images\" chosen, so that they are made anew.",
             TMsgDlgType::mtWarning, mbOK);
}

}  // namespace

// A run in progress ignores the button: closing the progress window gives
// this dialog back at once, while the run goes on to its next report.
void TfrmPublic::btnOkClick() {
  if (ProgressForm) return;
  if (edtIconPrefix->text().isEmpty() && edtIconsFolder->text().isEmpty()) edtIconPrefix->setText("th_");
  if (!publishMode_) {
    accept();
    return;
  }
  if (!CheckSubFolders()) return;
  if (!CheckOutputFolder()) {
    ShowPage(pgGeneral);
    edtOutFolder->setFocus();
    return;
  }
  lastOutputFolder_ = edtOutFolder->text().toStdString();
  SaveToGallery();
  if (!CheckTemplate()) {
    ShowPage(pgPageLayout);
    cbxTemplates->setFocus();
    return;
  }
  PublishGallery();
}

// Shows the General page with the focus on the control at fault, then the
// message; the check fails.
bool TfrmPublic::RefuseOnGeneralPage(QWidget& control, const std::string& message) {
  ShowPage(pgGeneral);
  control.setFocus();
  MessageDlg(message, TMsgDlgType::mtWarning, mbOK);
  return false;
}

bool TfrmPublic::CheckSubFolderName(QLineEdit& edit, const std::string& optionName) {
  if (edit.text().toStdString().find_first_of(kPathCharacters) == std::string::npos) return true;
  return RefuseOnGeneralPage(edit, "The \"" + optionName +
                                       "\" option specifies a sub-folder in the output folder and must "
                                       "contain a simple folder name without path.");
}

bool TfrmPublic::CheckSubFolders() {
  return CheckSubFolderName(*edtIconsFolder, "Thumbnails sub-folder") &&
         CheckSubFolderName(*edtPagesFolder, "HTML page sub-folder") &&
         CheckSubFolderName(*edtImagesFolder, "Full-size images sub-folder") && CheckThumbnailsApart();
}

// A thumbnail is named like its picture with ".jpg": in the pictures' own
// folder and without a prefix it would take the place of every converted
// picture and of every copied JPEG picture.
bool TfrmPublic::CheckThumbnailsApart() {
  if (!edtIconPrefix->text().isEmpty() ||
      Trim(edtIconsFolder->text().toStdString()) != Trim(edtImagesFolder->text().toStdString()))
    return true;
  return RefuseOnGeneralPage(*edtIconPrefix,
                             "The \"Thumbnails prefix\" option must not be empty when thumbnails and "
                             "full-size images share a sub-folder: the thumbnails would replace the images.");
}

// Asks before publishing into a folder that holds files, at any depth,
// unless it is the folder that passed last. The folder looked into is the one
// that will be published into: the text without blanks at its ends, "~/"
// standing for the home folder. A relative folder would be taken from
// wherever the program was started. Names that differ in letter case are
// different folders.
bool TfrmPublic::CheckOutputFolder() {
  const std::string typed = edtOutFolder->text().toStdString();
  const std::string folder = Trim(typed);
  if (folder.empty()) return RefuseOnGeneralPage(*edtOutFolder, "The output folder must be specified.");
  const std::string path = ExpandHomeFolder(folder);
  if (!path.starts_with('/'))
    return RefuseOnGeneralPage(*edtOutFolder,
                               "The output folder must be a full path, starting with \"/\" or with \"~/\" "
                               "for the home folder.");
  if (typed == lastOutputFolder_ || !IsFolder(path)) return true;
  std::vector<std::string> files;
  FindFiles(files, path, "*.*", true, true, false);
  if (files.empty()) return true;
  return MessageDlg("The \"" + folder + "\" folder contains files that may be overwrited when publishing.\n" +
                        "Do you want to continue?",
                    TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel) == mrYes;
}

// With no template at all the templates root itself is looked into.
bool TfrmPublic::CheckTemplate() {
  const std::string folder = TemplatesRoot() + "/" + cbxTemplates->currentText().toStdString() + "/";
  if (IsFile(folder + "page.html")) return true;
  MessageDlg("Selected template is not valid. File \"page.html\" is not found.", TMsgDlgType::mtWarning,
             mbOK | mbHelp);
  return false;
}

// The progress window and the generator are gone before an error of the run
// goes on to the error display; the dialog stays open whatever the outcome.
// A complete or stopped run names the pictures it could not read.
void TfrmPublic::PublishGallery() {
  TPageGenerator generator;
  generator.OnProgress = [this](TPageGenerator&, const std::string& msg, int percent, bool& cancel) {
    PublishProgress(msg, percent, cancel);
  };
  ProgressForm = std::make_unique<TfrmProgress>(this);
  ProgressForm->Start();
  try {
    generator.Publish(*Gallery);
  } catch (...) {
    FinishProgress();
    throw;
  }
  const bool cancelled = FinishProgress();
  WarnOfUnreadable(generator);
  if (!cancelled && Gallery->LaunchBrouser()) ShellOpenFile(FirstPagePathOf(*Gallery));
}

// Hides and frees the progress window; true when the run was cancelled.
bool TfrmPublic::FinishProgress() {
  const bool cancelled = ProgressForm->Cancelled();
  ProgressForm->Finish();
  ProgressForm.reset();
  return cancelled;
}

// Pending events run at every report, so that the progress window repaints
// and its Cancel button can be pressed.
void TfrmPublic::PublishProgress(const std::string& Msg, int Percent, bool& Cancel) {
  ProgressForm->SetText(Msg);
  ProgressForm->SetPosition(Percent);
  QApplication::processEvents();
  Cancel = ProgressForm->Cancelled();
}

}  // namespace tessalune

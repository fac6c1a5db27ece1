// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include <QDialog>

#include "TlRenameNames.h"

class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace tessalune {

class TNaturalEdit;
class TPicGallery;
class TRenameExamples;

// The batch rename dialog: the three rename options, a preview of every
// picture's old and new name that follows each change of an option, and
// Rename, which renames the files at once (TRenameRun) and closes.
class TfrmTlRename : public QDialog {
  Q_OBJECT

public:
  explicit TfrmTlRename(QWidget* Owner = nullptr);

  // The gallery whose picture files are renamed; not owned.
  TPicGallery* Gallery = nullptr;
  // The gallery's own file, which no rename replaces; empty when unsaved.
  std::string GalleryFile;
  // Runs once the files are moved, before the run's closing warning.
  std::function<void()> OnRenamed;

  // Rebuilds the preview and sets the controls' states.
  void Refresh();
  // The new name of the file Name at gallery position Index (TRenameOptions).
  std::string MakeNewName(const std::string& Name, int Index) const;
  // The options as the controls show them.
  TRenameOptions Options() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void CreateControls();
  void LayOutControls();
  void ConnectControls();
  // Every option change: the preview, then the controls' states.
  void cbxLowerCaseClick();
  void UpdateControls();
  void FillExampleList();
  // Drops a typed character that an extension cannot hold, with a beep;
  // true when it dropped the key.
  bool edtOldExtKeyPress(const QKeyEvent& Key);
  // Drops a typed "/", which would put the names in another folder.
  bool edtPrefixKeyPress(const QKeyEvent& Key);
  void btnOKClick();
  void RenameFiles();

  QCheckBox* cbxLowerCase;
  QCheckBox* cbxRename;
  QLineEdit* edtPrefix;
  TNaturalEdit* edtDigits;
  TNaturalEdit* edtStart;
  QCheckBox* cbxChangeExt;
  QLineEdit* edtOldExt;
  QLineEdit* edtNewExt;
  QTreeView* lvwExamples;
  TRenameExamples* examples_;
  QPushButton* btnOK;
  QPushButton* btnCancel;
};

// Shows the batch rename dialog modally over Owner (the active window when
// none) on Gallery, whose own file is GalleryFile. Callers see a change
// through the gallery's checksum; OnRenamed runs once the files are moved.
void ShowRenameDialog(TPicGallery& Gallery, QWidget* Owner = nullptr,
                      const std::string& GalleryFile = {}, std::function<void()> OnRenamed = {});

}  // namespace tessalune

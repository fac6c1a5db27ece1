// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include <QObject>

class QFileDialog;
class QLabel;

namespace tessalune {

class TPathDialog;

// riMyComputer roots the places shown at "/"; riDesktop at the user's desktop
// folder, with the home folder and "/" below it.
enum class TRootItem { riMyComputer, riDesktop };

using TPathDialogEvent = std::function<void(TPathDialog& Sender)>;
// Path is the newly selected folder.
using TSelectEvent = std::function<void(TPathDialog& Sender, const std::string& Path)>;

// Lets the user pick a folder. Qt's own directory dialog on every desktop, so
// that title, start folder, the status line (a label under the folder view)
// and the selection events behave the same everywhere. Property writes while
// the dialog is open also steer it; an exception from OnShow or OnSelect is
// shown in a message box and browsing goes on.
class TPathDialog : public QObject {
public:
  explicit TPathDialog(QObject* Owner = nullptr);

  std::string Title;  // the dialog's caption
  bool ShowStatus = false;
  TRootItem RootItem = TRootItem::riMyComputer;
  TPathDialogEvent OnShow;  // the dialog is set up and about to show
  TSelectEvent OnSelect;

  const std::string& Directory() const { return directory_; }
  // One trailing "/" is dropped, except from the root "/"; empty becomes the
  // current directory. An open dialog moves to the folder, or to its nearest
  // existing parent while it does not exist.
  void SetDirectory(const std::string& Value);
  const std::string& StatusText() const { return statusText_; }
  // An open dialog with ShowStatus shows the text at once.
  void SetStatusText(const std::string& Value);

  // The open dialog, nullptr at all other times.
  QFileDialog* DialogHandle() const { return dialog_; }

  // Runs the dialog modally. True when the user chose a folder, which
  // Directory then holds; false when the user cancelled or the root folder
  // cannot be found (then nothing is shown).
  bool Execute();

private:
  std::string RootFolder() const;
  void SetUpDialog(QFileDialog& dialog, const std::string& root);
  void SelectionChanged(const QString& path);
  void RaiseGuarded(const std::function<void()>& event);

  std::string directory_;
  std::string statusText_;
  QFileDialog* dialog_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  QString selected_;  // the last path reported to OnSelect
};

}  // namespace tessalune

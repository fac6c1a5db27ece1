// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include <QStringList>

#include "UserPrompt.h"

namespace tessalune {

// The questions of program code asked with Qt: the standard message dialog
// as a QMessageBox with the buttons in their fixed order, the error box, and
// Qt's own open and save dialogs (the same on every desktop, and able to take
// the typed name of a file that does not exist yet), the open dialog with a
// picture preview pane when asked for one. Each dialog is modal over the
// active window. Installed for its lifetime.
class TQtUserPrompt final : public TUserPrompt {
public:
  TQtUserPrompt();
  ~TQtUserPrompt() override;
  TQtUserPrompt(const TQtUserPrompt&) = delete;
  TQtUserPrompt& operator=(const TQtUserPrompt&) = delete;

  TModalResult MessageDlg(const TMessageDlgRequest& request) override;
  void ShowErrorMessage(const std::string& text) override;
  bool OpenDialog(const TFileDialogRequest& request, std::vector<std::string>& files) override;
  bool SaveDialog(const TFileDialogRequest& request, std::string& fileName) override;

private:
  TUserPrompt* previous_;
};

// A filter of the form "Description|*.a;*.b|..." as Qt's name filters
// ("Description (*.a *.b)"); "*.*" matches every file, with or without a dot.
QStringList FileDialogNameFilters(const std::string& filter);

}  // namespace tessalune

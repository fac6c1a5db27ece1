// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPushButton;

namespace tessalune {

class TNaturalEdit;

// The program settings dialog: the thumbnail size and the length of the
// reopen list. The program applies neither, so the fields always open with
// their defaults and OK keeps nothing.
class TfrmOptions : public QDialog {
  Q_OBJECT

public:
  explicit TfrmOptions(QWidget* Owner = nullptr);

private:
  TNaturalEdit* NaturalEdit2;  // thumbnail width
  TNaturalEdit* NaturalEdit3;  // thumbnail height
  TNaturalEdit* NaturalEdit1;  // reopen history size
  QPushButton* btnOK;
  QPushButton* btnCancel;
};

// Shows the settings dialog modally over Owner (the active window when
// none); true when it was closed with OK.
bool ShowOptionsDialog(QWidget* Owner = nullptr);

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace tessalune {

// The row of buttons at the foot of the program's dialogs: the buttons side
// by side at its right end, in the order given.
QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons);

// The OK and Cancel pair of a dialog: OK is the default button and accepts,
// Cancel rejects. Returns their row.
QHBoxLayout* NewOkCancelRow(QDialog& dialog, QPushButton* ok, QPushButton* cancel);

}  // namespace tessalune

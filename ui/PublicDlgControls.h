// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <initializer_list>

#include <QWidget>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;

namespace tessalune {

class TColorEdit;
class TNaturalEdit;

// The makers of the publishing dialog's controls: each control gets its
// form name as object name, its caption, bounds and help context, and is
// placed by the caller's layouts.

QLineEdit* NewEdit(const char* name, int help = 0);
// A number edit for minValue to maxValue, taking at most `digits` typed
// digits and as wide as that many.
TNaturalEdit* NewNumberEdit(const char* name, int minValue, int maxValue, int digits, int help = 0);
QCheckBox* NewCheckBox(const char* name, const char* caption, int help = 0);
QRadioButton* NewRadioButton(const char* name, const char* caption);
QPushButton* NewButton(const char* name, const char* caption, int help = 0);
TColorEdit* NewColorEdit(const char* name);
QLabel* NewLabel(const char* caption, QWidget* buddy, const char* name = nullptr);
// A group box with a caption around layout.
QGroupBox* NewGroup(const char* caption, QLayout* layout, const char* name = nullptr);

// The index of the row below the last one of grid.
int NextRow(const QGridLayout& grid);
// Appends a row to grid: a label for control in the first column, then
// control, then extra (when given) beside it.
void AddRow(QGridLayout& grid, const char* caption, QWidget* control, QWidget* extra = nullptr);
// Appends a row to grid: first (a label or a check box), then control.
void AddRow(QGridLayout& grid, QWidget* first, QWidget* control);
// Appends a row to grid: a label for control, then control, as wide as its
// column.
void AddWideRow(QGridLayout& grid, const char* caption, QWidget* control);

// Tab moves through controls in this order.
void ChainTabOrder(std::initializer_list<QWidget*> controls);

// A plain drawing surface: its paint events call OnPaint with a painter on
// it.
class TPaintBox : public QWidget {
public:
  explicit TPaintBox(QWidget* Owner = nullptr) : QWidget(Owner) {}

  std::function<void(QPainter& Canvas)> OnPaint;

protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublicDlgControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>

#include "EditLib.h"
#include "ErrorDisplay.h"
#include "HelpTopics.h"

namespace tessalune {
namespace {

template <class Control>
Control* Named(Control* control, const char* name, int help = 0) {
  control->setObjectName(name);
  if (help != 0) SetHelpContext(*control, help);
  return control;
}

}  // namespace

QLineEdit* NewEdit(const char* name, int help) { return Named(new QLineEdit, name, help); }

TNaturalEdit* NewNumberEdit(const char* name, int minValue, int maxValue, int digits, int help) {
  auto* edit = Named(new TNaturalEdit, name, help);
  edit->SetMinValue(minValue);
  edit->SetMaxValue(maxValue);
  // Limits what is typed only: a maximum length would also cut a longer
  // number that the settings put there.
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QString("\\d{0,%1}").arg(digits)), edit));
  // Room for one digit more than can be typed, the arrows and the frame.
  const int text = edit->fontMetrics().horizontalAdvance(QString(digits + 1, '0'));
  const int arrows = edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, edit);
  const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
  edit->setFixedWidth(text + arrows + 2 * frame + 6);
  return edit;
}

QCheckBox* NewCheckBox(const char* name, const char* caption, int help) {
  return Named(new QCheckBox(caption), name, help);
}

QRadioButton* NewRadioButton(const char* name, const char* caption) {
  return Named(new QRadioButton(caption), name);
}

QPushButton* NewButton(const char* name, const char* caption, int help) {
  auto* button = Named(new QPushButton(caption), name, help);
  button->setAutoDefault(false);  // Enter presses the dialog's default button only
  return button;
}

TColorEdit* NewColorEdit(const char* name) { return Named(new TColorEdit, name); }

QLabel* NewLabel(const char* caption, QWidget* buddy, const char* name) {
  auto* label = new QLabel(caption);
  if (name) label->setObjectName(name);
  label->setBuddy(buddy);
  return label;
}

QGroupBox* NewGroup(const char* caption, QLayout* layout, const char* name) {
  auto* group = new QGroupBox(caption);
  if (name) group->setObjectName(name);
  group->setLayout(layout);
  return group;
}

// An empty grid counts one row.
int NextRow(const QGridLayout& grid) { return grid.count() == 0 ? 0 : grid.rowCount(); }

void AddRow(QGridLayout& grid, const char* caption, QWidget* control, QWidget* extra) {
  if (!extra) {
    AddRow(grid, NewLabel(caption, control), control);
    return;
  }
  AddWideRow(grid, caption, control);
  grid.addWidget(extra, grid.rowCount() - 1, 2);
}

void AddWideRow(QGridLayout& grid, const char* caption, QWidget* control) {
  const int row = NextRow(grid);
  grid.addWidget(NewLabel(caption, control), row, 0);
  grid.addWidget(control, row, 1);
}

void AddRow(QGridLayout& grid, QWidget* first, QWidget* control) {
  const int row = NextRow(grid);
  grid.addWidget(first, row, 0);
  grid.addWidget(control, row, 1, Qt::AlignLeft);
}

void ChainTabOrder(std::initializer_list<QWidget*> controls) {
  QWidget* previous = nullptr;
  for (QWidget* control : controls) {
    if (previous) QWidget::setTabOrder(previous, control);
    previous = control;
  }
}

void TPaintBox::paintEvent(QPaintEvent*) {
  if (!OnPaint) return;
  QPainter canvas(this);
  Guarded([&] { OnPaint(canvas); });
}

}  // namespace tessalune

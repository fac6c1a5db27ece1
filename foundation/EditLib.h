// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QWidget>

#include "Colors.h"

class QToolButton;

namespace tessalune {

// A one-line edit for a whole number between MinValue and MaxValue. The
// number lives only in the text, which may hold anything (written through
// SetValue, or pasted); Value reads it clamped to the bounds. Typed keys are
// limited to digits; two arrow buttons at the right edge step the number by
// one. The edit's change signal is QLineEdit::textChanged.
class TNaturalEdit : public QLineEdit {
  Q_OBJECT

public:
  explicit TNaturalEdit(QWidget* Owner = nullptr);

  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  // The text as a number (StrToIntDef, 0 when it is none), raised to MinValue,
  // then lowered to MaxValue: with MinValue above MaxValue always MaxValue.
  int Value() const;

  // Raises the text to the new bound only when Value reads below it, which
  // happens only when the bound exceeds MaxValue.
  void SetMinValue(int Value);
  // Leaves the text alone.
  void SetMaxValue(int Value);
  // Writes the number as decimal text, without clamping.
  void SetValue(int Value);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  QToolButton* MakeArrow(Qt::ArrowType arrow, const char* name);
  // One step of the arrows from the clamped value, within the bounds; the
  // caret stays where it was.
  void Step(int delta);

  int minValue_ = 0;
  int maxValue_ = 0;
  QToolButton* btnUp_;
  QToolButton* btnDown_;
};

// A colour swatch in a one-pixel black frame. A click opens the colour dialog
// (custom colours shown); every confirmation stores the chosen colour and
// raises OnChange, also when the colour did not change; a cancel changes
// nothing. The swatch takes the focus on mouse down.
class TColorEdit : public QWidget {
  Q_OBJECT

public:
  explicit TColorEdit(QWidget* Owner = nullptr);

  TColor Color() const { return color_; }
  void SetColor(TColor Value);

  QSize sizeHint() const override;

  // Runs the colour dialog, as a click does.
  void Click();

signals:
  void OnChange();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  TColor color_ = clWindow;
};

}  // namespace tessalune

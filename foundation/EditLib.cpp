// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditLib.h"

#include <climits>

#include <QColorDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

#include "StringLib.h"

namespace tessalune {
namespace {

// A key that the edit would insert as text: not a control character
// (backspace, Enter, Tab, Escape) nor a Ctrl shortcut, so those keep working.
bool InsertsText(const QKeyEvent& event) {
  const QString text = event.text();
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
    return false;
  return !text.isEmpty() && text.front().category() != QChar::Other_Control;
}

bool IsDigits(const QString& text) {
  for (const QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  }
  return true;
}

QColor ToQColor(TColor color) {
  const std::uint32_t rgb = ColorToRGB(color);
  return QColor(int(rgb & 0xFFu), int((rgb >> 8) & 0xFFu), int((rgb >> 16) & 0xFFu));
}

TColor FromQColor(const QColor& color) {
  return TColor(unsigned(color.red()) | unsigned(color.green()) << 8 |
                unsigned(color.blue()) << 16);
}

}  // namespace

TNaturalEdit::TNaturalEdit(QWidget* Owner)
    : QLineEdit(Owner),
      btnUp_(MakeArrow(Qt::UpArrow, "btnUp")),
      btnDown_(MakeArrow(Qt::DownArrow, "btnDown")) {
  setText("0");
  SetMinValue(0);
  SetMaxValue(INT_MAX);
  setInputMethodHints(Qt::ImhDigitsOnly);
  setTextMargins(0, 0, style()->pixelMetric(QStyle::PM_ScrollBarExtent), 0);
  connect(btnUp_, &QToolButton::clicked, this, [this] { Step(+1); });
  connect(btnDown_, &QToolButton::clicked, this, [this] { Step(-1); });
}

QToolButton* TNaturalEdit::MakeArrow(Qt::ArrowType arrow, const char* name) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);  // the caret stays in the edit
  button->setCursor(Qt::ArrowCursor);
  return button;
}

int TNaturalEdit::Value() const {
  int number = StrToIntDef(text().toStdString(), 0);
  if (number < minValue_) number = minValue_;
  if (number > maxValue_) number = maxValue_;
  return number;
}

void TNaturalEdit::SetMinValue(int Value) {
  minValue_ = Value;
  if (this->Value() < minValue_) SetValue(minValue_);
}

void TNaturalEdit::SetMaxValue(int Value) { maxValue_ = Value; }

void TNaturalEdit::SetValue(int Value) { setText(QString::number(Value)); }

void TNaturalEdit::Step(int delta) {
  const int caret = cursorPosition();
  const int value = Value();
  if (delta > 0 && value < maxValue_) SetValue(value + 1);
  if (delta < 0 && value > minValue_) SetValue(value - 1);
  if (cursorPosition() != caret) setCursorPosition(caret);
}

void TNaturalEdit::keyPressEvent(QKeyEvent* event) {
  if (InsertsText(*event) && !IsDigits(event->text())) {
    event->accept();  // dropped: only digits are typed in
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TNaturalEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int inner = height() - 2 * frame;
  const int x = this->width() - frame - width;
  btnUp_->setGeometry(x, frame, width, inner / 2);
  btnDown_->setGeometry(x, frame + inner / 2, width, inner - inner / 2);
}

TColorEdit::TColorEdit(QWidget* Owner) : QWidget(Owner) {
  setFocusPolicy(Qt::ClickFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  resize(sizeHint());
}

QSize TColorEdit::sizeHint() const { return {50, 21}; }

void TColorEdit::SetColor(TColor Value) {
  color_ = Value;
  update();
}

// Filled black, then the colour inside: the frame stays one logical pixel
// wide and sharp at every scale.
void TColorEdit::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.fillRect(rect().adjusted(1, 1, -1, -1), ToQColor(color_));
}

void TColorEdit::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  setFocus(Qt::MouseFocusReason);
}

void TColorEdit::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

void TColorEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

// The dialog is Qt's own on every desktop, so that its custom colours show.
void TColorEdit::Click() {
  QColorDialog dialog(ToQColor(color_), this);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return;
  color_ = FromQColor(dialog.selectedColor());
  repaint();
  emit OnChange();
}

}  // namespace tessalune

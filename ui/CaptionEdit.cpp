// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptionEdit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "DialogButtons.h"

namespace tessalune {
namespace {

bool IsEnter(const QKeyEvent& key) {
  return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

}  // namespace

std::string CrLfLineBreaks(const std::string& Text) {
  std::string result;
  result.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    if (c == '\r' || c == '\n') {
      result += "\r\n";
      if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    } else {
      result += c;
    }
  }
  return result;
}

TfrmCaptionEditor::TfrmCaptionEditor(QWidget* Owner)
    : QDialog(Owner),
      mmCaption(new QPlainTextEdit),
      btnOK(new QPushButton("OK")),
      btnCancel(new QPushButton("Cancel")) {
  setObjectName("frmCaptionEditor");
  setWindowTitle("Image description");
  mmCaption->setObjectName("mmCaption");
  mmCaption->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmCaption->setTabChangesFocus(true);
  mmCaption->installEventFilter(this);
  btnOK->setObjectName("btnOK");
  btnCancel->setObjectName("btnCancel");
  for (QPushButton* button : {btnOK, btnCancel}) {
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
  }
  QHBoxLayout* buttons = NewOkCancelRow(*this, btnOK, btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mmCaption, 1);
  layout->addLayout(buttons);
  resize(392, 222);
  mmCaption->setFocus();
}

void TfrmCaptionEditor::SetDescription(const std::string& Text) {
  given_ = CrLfLineBreaks(Text);
  QString lines = QString::fromStdString(given_);
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  mmCaption->setPlainText(lines);
  mmCaption->document()->setModified(false);
}

// The raw text keeps every character as typed (toPlainText would turn
// no-break spaces into blanks); blocks and soft line breaks both end lines.
std::string TfrmCaptionEditor::Description() const {
  if (!mmCaption->document()->isModified()) return given_;
  QString text = mmCaption->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return CrLfLineBreaks(text.toStdString());
}

// Enter (with Shift too) presses OK, as in a dialog; Ctrl+Enter is the key
// that starts a new line.
bool TfrmCaptionEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched != mmCaption || event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if (!IsEnter(key)) return false;
  if (key.modifiers() & Qt::ControlModifier) {
    mmCaption->textCursor().insertText(QStringLiteral("\n"));
  } else {
    btnOK->click();
  }
  return true;
}

bool EditImageDescription(std::string& Text, QWidget* Owner) {
  TfrmCaptionEditor form(Owner ? Owner : QApplication::activeWindow());
  form.SetDescription(Text);
  if (form.exec() != QDialog::Accepted) return false;
  Text = form.Description();
  return true;
}

}  // namespace tessalune

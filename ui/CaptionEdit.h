// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace tessalune {

// The picture description editor. A description keeps its line breaks as
// CR LF pairs, the only break that published pages turn into <br>: a lone CR
// or LF, typed or pasted, becomes one. Enter closes the editor with OK;
// Ctrl+Enter starts a new line.
class TfrmCaptionEditor : public QDialog {
  Q_OBJECT

public:
  explicit TfrmCaptionEditor(QWidget* Owner = nullptr);

  // Puts Text into the memo, one line per line of the description.
  void SetDescription(const std::string& Text);
  // The memo's lines joined by CR LF, without a break after the last line.
  std::string Description() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QPlainTextEdit* mmCaption;
  QPushButton* btnOK;
  QPushButton* btnCancel;
  // The description as given, with its line breaks made CR LF: what OK
  // returns while the memo is unedited, byte for byte even where the bytes
  // are no UTF-8.
  std::string given_;
};

// Edits Text in the description editor over Owner (the active window when
// none); on OK Text becomes the edited description and the result is true,
// on Cancel Text stays as it was.
bool EditImageDescription(std::string& Text, QWidget* Owner = nullptr);

// Text with every lone CR and every lone LF made a CR LF pair.
std::string CrLfLineBreaks(const std::string& Text);

}  // namespace tessalune

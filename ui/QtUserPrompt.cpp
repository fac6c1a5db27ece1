// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtUserPrompt.h"

#include <array>
#include <initializer_list>
#include <utility>

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QVBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBoundaryFinder>

#include "Application.h"
#include "PicturePreview.h"

namespace tessalune {
namespace {

struct TButtonKind {
  TMsgDlgBtn Button;
  const char* Caption;
  TModalResult Result;
};

// Every button in the dialog's order, with its caption and answer. Help has
// no help to show yet and answers mrNone.
constexpr std::array<TButtonKind, 11> kButtons{{
    {mbYes, "&Yes", mrYes},
    {mbNo, "&No", mrNo},
    {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel},
    {mbAbort, "&Abort", mrAbort},
    {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore},
    {mbAll, "&All", mrAll},
    {mbNoToAll, "N&o to All", mrNoToAll},
    {mbYesToAll, "Yes to &All", mrYesToAll},
    {mbHelp, "&Help", mrNone},
}};

QString KindCaption(TMsgDlgType kind) {
  switch (kind) {
    case TMsgDlgType::mtWarning:
      return "Warning";
    case TMsgDlgType::mtError:
      return "Error";
    case TMsgDlgType::mtInformation:
      return "Information";
    case TMsgDlgType::mtConfirmation:
      return "Confirm";
    case TMsgDlgType::mtCustom:
      break;
  }
  return TApplication::Title();
}

QMessageBox::Icon KindIcon(TMsgDlgType kind) {
  switch (kind) {
    case TMsgDlgType::mtWarning:
      return QMessageBox::Warning;
    case TMsgDlgType::mtError:
      return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
      return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
      return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
      break;
  }
  return QMessageBox::NoIcon;
}

// The first of candidates that buttons holds, or 0.
TMsgDlgButtons FirstOf(TMsgDlgButtons buttons, std::initializer_list<TMsgDlgBtn> candidates) {
  for (const TMsgDlgBtn candidate : candidates)
    if ((buttons & candidate) != 0) return candidate;
  return 0;
}

// A word longer than this many characters may break anywhere.
constexpr qsizetype kLongWord = 30;

// The word with a zero-width space at each boundary between its characters
// (as the reader sees them), each a place where the line may break.
QString BreakableWord(QStringView word) {
  QString result;
  QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, word);
  qsizetype start = 0;
  for (qsizetype end = characters.toNextBoundary(); end > 0; end = characters.toNextBoundary()) {
    if (start > 0) result += QChar(0x200B);
    result += word.sliced(start, end - start);
    start = end;
  }
  return result;
}

// A message box wraps its text at the blanks and is never wider than the
// screen allows, so a file name or path without blanks that is wider than
// the box would run past its edge: long words may break anywhere, and
// every other word stays whole.
void SetPlainText(QMessageBox& box, const std::string& message) {
  static const QRegularExpression longWord(QString("\\S{%1,}").arg(kLongWord + 1));
  const QString text = QString::fromStdString(message);
  QString shown;
  qsizetype done = 0;
  for (const QRegularExpressionMatch& match : longWord.globalMatch(text)) {
    shown += QStringView(text).sliced(done, match.capturedStart() - done);
    shown += BreakableWord(match.capturedView());
    done = match.capturedEnd();
  }
  shown += QStringView(text).sliced(done);
  box.setTextFormat(Qt::PlainText);
  box.setText(shown);
}

// A message box that tells the close box apart from the button it would
// press, and that can centre itself on the screen.
class TMessageBox final : public QMessageBox {
public:
  TMessageBox(const TMessageDlgRequest& request, QWidget* parent)
      : QMessageBox(KindIcon(request.Kind), KindCaption(request.Kind), QString(), NoButton, parent),
        screenCenter_(request.ScreenCenter) {
    SetPlainText(*this, request.Message);
  }

  bool ClosedByBox() const { return closedByBox_; }

protected:
  void closeEvent(QCloseEvent* event) override {
    closedByBox_ = true;
    event->accept();
  }

  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (!screenCenter_) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
  }

private:
  bool screenCenter_;
  bool closedByBox_ = false;
};

QWidget* DialogParent() {
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? modal : QApplication::activeWindow();
}

void SetUpFileDialog(QFileDialog& dialog, const TFileDialogRequest& request) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (!request.Title.empty()) dialog.setWindowTitle(QString::fromStdString(request.Title));
  const QStringList filters = FileDialogNameFilters(request.Filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = request.FilterIndex - 1;
    dialog.selectNameFilter(filters.value(index >= 0 && index < filters.size() ? index : 0));
  }
  dialog.setDefaultSuffix(QString::fromStdString(request.DefaultExt));
  if (!request.InitialDir.empty()) dialog.setDirectory(QString::fromStdString(request.InitialDir));
  if (!request.FileName.empty()) dialog.selectFile(QString::fromStdString(request.FileName));
}

// The open-picture dialog's preview pane beside the files: the picture of
// the file under the cursor, made off the interface thread; nothing for a
// folder.
void AddPicturePreview(QFileDialog& dialog) {
  auto* pane = new QFrame(&dialog);
  pane->setObjectName("pnlPicturePreview");
  pane->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  pane->setMinimumSize(180, 180);
  auto* preview = new TPicturePreview(pane);
  preview->setObjectName("imgPicturePreview");
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(preview);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(pane, 0, grid->columnCount(), grid->rowCount(), 1);
  else
    dialog.layout()->addWidget(pane);
  QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    preview->SetFileName(QFileInfo(path).isFile() ? path.toStdString() : std::string());
  });
}

QString NameFilter(const QString& description, const QString& patterns) {
  QStringList globs;
  for (const QString& pattern : patterns.split(';', Qt::SkipEmptyParts)) {
    const QString glob = pattern.trimmed();
    globs.append(glob == "*.*" ? "*" : glob);
  }
  return description + " (" + globs.join(' ') + ")";
}

}  // namespace

QStringList FileDialogNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) filters.append(NameFilter(parts[i], parts[i + 1]));
  return filters;
}

TQtUserPrompt::TQtUserPrompt() : previous_(SetUserPrompt(this)) {}

TQtUserPrompt::~TQtUserPrompt() { SetUserPrompt(previous_); }

TModalResult TQtUserPrompt::MessageDlg(const TMessageDlgRequest& request) {
  TMessageBox box(request, DialogParent());
  const TMsgDlgButtons defaultButton = (request.Buttons & request.DefaultButton) != 0
                                           ? request.DefaultButton
                                           : FirstOf(request.Buttons, {mbOK, mbYes, mbRetry});
  const TMsgDlgButtons escapeButton = FirstOf(request.Buttons, {mbCancel, mbNo, mbOK});
  std::vector<std::pair<const QAbstractButton*, TModalResult>> answers;
  for (const TButtonKind& kind : kButtons) {
    if ((request.Buttons & kind.Button) == 0) continue;
    // One role for all keeps the buttons in the dialog's order on every desktop.
    QPushButton* button = box.addButton(kind.Caption, QMessageBox::ActionRole);
    if (kind.Button == defaultButton) box.setDefaultButton(button);
    if (kind.Button == escapeButton) box.setEscapeButton(button);
    answers.emplace_back(button, kind.Result);
  }
  box.exec();
  if (box.ClosedByBox()) return mrCancel;
  for (const auto& [button, result] : answers)
    if (button == box.clickedButton()) return result;
  return mrCancel;
}

void TQtUserPrompt::ShowErrorMessage(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, TApplication::Title(), QString(), QMessageBox::Ok, DialogParent());
  SetPlainText(box, text);
  box.exec();
}

bool TQtUserPrompt::OpenDialog(const TFileDialogRequest& request, std::vector<std::string>& files) {
  QFileDialog dialog(DialogParent());
  SetUpFileDialog(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(request.AllowMultiSelect ? QFileDialog::ExistingFiles
                     : request.FileMustExist  ? QFileDialog::ExistingFile
                                              : QFileDialog::AnyFile);
  if (request.PicturePreview) AddPicturePreview(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  files.clear();
  for (const QString& file : dialog.selectedFiles()) files.push_back(file.toStdString());
  return !files.empty();
}

bool TQtUserPrompt::SaveDialog(const TFileDialogRequest& request, std::string& fileName) {
  QFileDialog dialog(DialogParent());
  SetUpFileDialog(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName = dialog.selectedFiles().front().toStdString();
  return true;
}

}  // namespace tessalune

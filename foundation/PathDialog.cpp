// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathDialog.h"

#include <filesystem>
#include <system_error>

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QUrl>

#include "Errors.h"
#include "FileLib.h"
#include "ShellLib.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return error ? std::string() : current.string();
}

// The folder itself when it exists, else its nearest parent that does, so
// that a folder still to be made opens the dialog where it would be made.
std::string NearestFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(folder, error);
  while (!IsFolder(path.string()) && path.has_relative_path()) path = path.parent_path();
  return path.string();
}

QUrl FolderUrl(const std::string& folder) { return QUrl::fromLocalFile(QString::fromStdString(folder)); }

}  // namespace

TPathDialog::TPathDialog(QObject* Owner) : QObject(Owner) {}

// The root keeps its "/": without it the name would be empty, which stands
// for the current directory.
void TPathDialog::SetDirectory(const std::string& Value) {
  if (Value.size() > 1 && Value.back() == '/')
    directory_ = Value.substr(0, Value.size() - 1);
  else if (!Value.empty())
    directory_ = Value;
  else
    directory_ = CurrentDirectory();
  if (dialog_ && !directory_.empty()) {
    dialog_->setDirectory(QString::fromStdString(NearestFolder(directory_)));
    SelectionChanged(dialog_->directory().absolutePath());
  }
}

void TPathDialog::SetStatusText(const std::string& Value) {
  statusText_ = Value;
  if (dialog_ && ShowStatus) lblStatus_->setText(QString::fromStdString(statusText_));
}

// The desktop is the XDG desktop folder, or the home folder where there is
// none, as the XDG user directories have it.
std::string TPathDialog::RootFolder() const {
  if (RootItem == TRootItem::riMyComputer) return "/";
  return GetShellFolderOrHome("Desktop");
}

void TPathDialog::SetUpDialog(QFileDialog& dialog, const std::string& root) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!Title.empty()) dialog.setWindowTitle(QString::fromStdString(Title));
  QList<QUrl> places{FolderUrl(root)};
  if (RootItem == TRootItem::riDesktop) {
    const std::string home = GetUserHomeFolder();
    if (!home.empty() && home != root) places.append(FolderUrl(home));
    places.append(FolderUrl("/"));
  }
  dialog.setSidebarUrls(places);

  lblStatus_ = new QLabel(&dialog);
  lblStatus_->setObjectName("lblStatus");
  lblStatus_->setTextFormat(Qt::PlainText);
  lblStatus_->setVisible(ShowStatus);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(lblStatus_, grid->rowCount(), 0, 1, grid->columnCount());
  else
    dialog.layout()->addWidget(lblStatus_);

  connect(&dialog, &QFileDialog::currentChanged, this, [this](const QString& path) { SelectionChanged(path); });
  connect(&dialog, &QFileDialog::directoryEntered, this, [this](const QString& path) { SelectionChanged(path); });
}

// Entering a folder and highlighting one both change what the dialog would
// answer; each new answer is reported once.
void TPathDialog::SelectionChanged(const QString& path) {
  if (path == selected_) return;
  selected_ = path;
  if (OnSelect) RaiseGuarded([this, &path] { OnSelect(*this, path.toStdString()); });
}

// Failures of the program's own kind are shown and the dialog stays open;
// anything else is dropped, as nothing may leave the dialog's event loop.
void TPathDialog::RaiseGuarded(const std::function<void()>& event) {
  try {
    event();
  } catch (const Exception& error) {
    ShowMessage(error.what());
  } catch (const std::exception&) {
  }
}

bool TPathDialog::Execute() {
  const std::string root = RootFolder();
  if (root.empty()) return false;
  auto* owner = qobject_cast<QWidget*>(parent());
  QFileDialog dialog(owner ? owner->window() : QApplication::activeWindow());
  SetUpDialog(dialog, root);

  struct TOpenState {
    TPathDialog& Self;
    ~TOpenState() {
      Self.dialog_ = nullptr;
      Self.lblStatus_ = nullptr;
      Self.selected_.clear();
    }
  } open{*this};
  dialog_ = &dialog;
  RaiseGuarded([this] {
    SetDirectory(directory_);
    SetStatusText(statusText_);
    if (OnShow) OnShow(*this);
  });
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  directory_ = chosen.front().toStdString();  // directly: the root keeps its "/"
  return true;
}

}  // namespace tessalune

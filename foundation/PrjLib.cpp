// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrjLib.h"

#include <algorithm>
#include <optional>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QString>

#include "ErrorDisplay.h"
#include "Errors.h"
#include "FileLib.h"
#include "ShellLib.h"
#include "TextCompare.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

const std::string kProjectsKey = "Projects";

// The reopen list owns every value whose name starts with these four
// characters, compared exactly ("FileX" counts, "file_000" does not).
bool IsListValue(const std::string& name) { return name.compare(0, 4, "File") == 0; }

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Whole names without regard to letter case; bytes that are no valid UTF-8
// match only themselves.
bool SameFileName(const std::string& a, const std::string& b) { return AnsiCompareText(a, b) == 0; }

// A menu text shows "&" as a mnemonic mark; a path must show as it is.
QString MenuText(int number, const std::string& path) {
  return QString::number(number) + " " + QString::fromStdString(path).replace("&", "&&");
}

}  // namespace

std::string ProjectListValueName(std::size_t Index) { return Format("File_%03zu", Index); }

std::string FolderOfFileName(const std::string& FileName) {
  const std::size_t slash = FileName.rfind('/');
  if (slash == std::string::npos) return {};
  const bool keepSlash = slash == 0 || FileName[slash - 1] == '/';
  return FileName.substr(0, keepSlash ? slash + 1 : slash);
}

TProject::TProject(QObject* Owner) : QObject(Owner) {}

void TProject::Raise(const TProjectEvent& event) {
  if (event) event(*this);
}

void TProject::SetFileName(const std::string& Value) {
  fileName_ = Value;
  Raise(OnNameChanged);
}

void TProject::SetModified(bool Value) {
  modified_ = Value;
  Raise(OnChanged);
}

// A file the host could not read leaves an empty document without a name,
// as New does, so that no later save writes over that file unless the user
// chooses it again.
void TProject::DoOpen() {
  try {
    Raise(OnOpen);
  } catch (...) {
    SetFileName("");
    SetModified(false);
    throw;
  }
  SetModified(false);
}

bool TProject::CloseQuery() {
  if (!modified_) return true;
  TMessageDlgRequest prompt;
  prompt.Message = SaveAlert;
  prompt.Kind = TMsgDlgType::mtConfirmation;
  prompt.Buttons = mbYes | mbNo | mbCancel;
  prompt.DefaultButton = mbYes;
  prompt.ScreenCenter = true;
  switch (UserPrompt().MessageDlg(prompt)) {
    case mrYes:
      Save();
      return !modified_;  // a cancelled save dialog cancels the caller too
    case mrNo:
      return true;
    default:
      return false;
  }
}

void TProject::Close() {
  if (!fileName_.empty()) AddToProjectList(fileName_);
  SetModified(false);
  SetFileName("");
  Raise(OnClose);
}

void TProject::New() {
  if (!CloseQuery()) return;
  Close();
  Raise(OnNew);
  SetModified(false);
}

TFileDialogRequest TProject::DialogRequest(const std::string& title) {
  TFileDialogRequest request;
  request.Title = title;
  request.DefaultExt = DefaultExt;
  request.Filter = FileFilter;
  request.FilterIndex = 1;
  request.InitialDir = GetInitialDir();
  return request;
}

void TProject::Open() {
  if (!CloseQuery()) return;
  TFileDialogRequest request = DialogRequest(OpenTitle);
  request.FileMustExist = false;  // the host's loading reports a missing file
  std::vector<std::string> files;
  if (!UserPrompt().OpenDialog(request, files) || files.empty()) return;
  Close();
  SetFileName(files.front());
  lastFolder_ = FolderOfFileName(fileName_);
  DoOpen();
}

void TProject::Save() {
  if (fileName_.empty()) {
    SaveAs();
    return;
  }
  SetModified(false);  // cleared before the host writes the file
  try {
    Raise(OnSave);
  } catch (...) {
    SetModified(true);  // nothing was written: the changes are still unsaved
    throw;
  }
}

void TProject::SaveAs() {
  TFileDialogRequest request = DialogRequest(SaveTitle);
  request.OverwritePrompt = true;
  std::string name;
  if (!UserPrompt().SaveDialog(request, name) || name.empty()) return;
  SetFileName(name);
  lastFolder_ = FolderOfFileName(fileName_);
  Save();
}

std::string TProject::GetInitialDir() {
  if (IsBlank(lastFolder_))
    lastFolder_ = projectList_.empty() ? GetPersonalFolder() : FolderOfFileName(projectList_.front());
  return lastFolder_;
}

// An entry that is no string is left out, as a missing file is, and goes
// with the next rewrite.
void TProject::ReadProjectList(std::vector<std::string>& List) {
  List.clear();
  {
    const auto reg = RegistryAddress.OpenKey(kProjectsKey);
    for (const std::string& name : reg->GetValueNames()) {
      if (!IsListValue(name)) continue;
      const std::optional<std::string> path = ReadOptionalString(*reg, name);
      if (path && FileExists(*path)) List.push_back(*path);
    }
  }
  if (!List.empty()) GetInitialDir();
}

void TProject::ClearProjectList() {
  const auto reg = RegistryAddress.OpenKey(kProjectsKey);
  for (const std::string& name : reg->GetValueNames())
    if (IsListValue(name)) reg->DeleteValue(name);
}

// The list is a convenience: a store that refuses the rewrite is reported
// once in the program's run and the Close around it goes on; the menu then
// keeps showing the list as it is still stored.
void TProject::AddToProjectList(const std::string& Name) {
  bool written = false;
  {
    const auto reg = RegistryAddress.OpenKey(kProjectsKey);
    std::vector<std::string> list;
    ReadProjectList(list);
    const auto same = std::find_if(list.begin(), list.end(),
                                   [&](const std::string& entry) { return SameFileName(entry, Name); });
    if (same != list.end()) list.erase(same);
    list.insert(list.begin(), Name);
    // One entry only: a list stored under a larger limit shrinks by one.
    if (static_cast<long long>(list.size()) > MaxListSize) list.pop_back();
    written = WriteOptionalSettings([&] {
      ClearProjectList();
      for (std::size_t i = 0; i < list.size(); ++i)
        reg->WriteString(ProjectListValueName(i), list[i]);
    });
  }
  if (written) Raise(OnProjectListAdd);
}

void TProject::FillProjectMenu(QMenu* Item) {
  // Deferred deletion: the clicked entry may be the sender still being
  // delivered when its own click rebuilds the menu.
  for (QAction* action : Item->actions()) {
    Item->removeAction(action);
    if (action->parent() == Item) action->deleteLater();
  }
  ReadProjectList(projectList_);
  for (std::size_t i = 0; i < projectList_.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    auto* action = new QAction(MenuText(number, projectList_[i]), Item);
    action->setObjectName(QString("a%1").arg(number));
    action->setData(static_cast<int>(i));
    connect(action, &QAction::triggered, this,
            [this, action] { Guarded([this, action] { ProjectListClick(action); }); });
    Item->addAction(action);
  }
  Item->setEnabled(!projectList_.empty());
  Item->menuAction()->setEnabled(!projectList_.empty());
}

void TProject::ProjectListClick(QAction* Sender) {
  const int index = Sender->data().toInt();
  if (index < 0 || index >= static_cast<int>(projectList_.size())) RaiseListIndexError(index);
  const std::string path = projectList_[static_cast<std::size_t>(index)];
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
  if (!CloseQuery()) return;
  Close();  // may rebuild the menu: nothing below touches Sender or ProjectList
  SetFileName(path);
  lastFolder_ = FolderOfFileName(fileName_);
  DoOpen();
}

}  // namespace tessalune

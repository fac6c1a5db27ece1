// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QObject>

#include "RegistryLib.h"
#include "UserPrompt.h"

class QAction;
class QMenu;

namespace tessalune {

class TProject;

using TProjectEvent = std::function<void(TProject& Sender)>;

// Manages the one document file of a host window: its name, the modified
// state, New, Open, Save, Save As and Close with their file dialogs and the
// save prompt, and the reopen list kept in the settings store under
// "Projects" and shown as a menu. It never reads or writes the document: the
// host does that in OnOpen and OnSave, with FileName already set. Events are
// raised only when assigned, with this component as Sender; an exception
// from a handler ends the operation where it stands, except that a failed
// OnSave leaves the document modified and a failed OnOpen leaves it as New
// does: without a file and not modified. A store that cannot take the reopen
// list stops nothing: its failure is shown once in the program's run
// (WriteOptionalSettings) and OnProjectListAdd is not raised; an entry that
// cannot be read is left out of the list, shown the same way.
class TProject : public QObject {
public:
  explicit TProject(QObject* Owner = nullptr);

  // Settings, as a stored form sets them.
  std::string AppName;  // kept with the component; nothing reads it
  TRegistryAddress RegistryAddress;
  std::string DefaultExt = "dat";
  std::string FileFilter = "All Files|*.*";
  std::string OpenTitle;
  std::string SaveTitle;
  std::string SaveAlert = "The data have been changed. Save?";
  int MaxListSize = 5;

  TProjectEvent OnNew;
  TProjectEvent OnOpen;
  TProjectEvent OnSave;
  TProjectEvent OnClose;
  TProjectEvent OnChanged;      // every assignment of Modified
  TProjectEvent OnNameChanged;  // every assignment of FileName
  TProjectEvent OnProjectListAdd;

  const std::string& FileName() const { return fileName_; }
  bool Modified() const { return modified_; }
  // The folder in which the file dialogs start.
  const std::string& LastFolder() const { return lastFolder_; }
  // The reopen list as the last FillProjectMenu read it.
  const std::vector<std::string>& ProjectList() const { return projectList_; }

  void New();
  void Open();
  void Save();
  void SaveAs();
  // The save prompt for a modified document; false when the user cancels it
  // or, after Yes, the save dialog. A failed save after Yes throws.
  bool CloseQuery();
  // Adds a named document to the reopen list and clears name and modified state.
  void Close();
  void SetModified(bool Value);
  // Rebuilds Item's entries from the reopen list; Item is enabled exactly
  // when it has one.
  void FillProjectMenu(QMenu* Item);
  // The click on an entry that FillProjectMenu made.
  void ProjectListClick(QAction* Sender);

  std::string GetInitialDir();
  // The existing files of the reopen list, newest first.
  void ReadProjectList(std::vector<std::string>& List);

private:
  void SetFileName(const std::string& Value);
  void DoOpen();
  void ClearProjectList();
  void AddToProjectList(const std::string& Name);
  void Raise(const TProjectEvent& event);
  TFileDialogRequest DialogRequest(const std::string& title);

  std::string fileName_;
  bool modified_ = false;
  std::vector<std::string> projectList_;
  std::string lastFolder_;
};

// The name of the reopen list's value at Index: "File_" and the index with
// at least three digits (File_007, File_1000).
std::string ProjectListValueName(std::size_t Index);

// The folder part of a file name: up to the last "/", which is kept only for
// the root ("/Trip.gmf" gives "/"); empty for a bare name.
std::string FolderOfFileName(const std::string& FileName);

}  // namespace tessalune

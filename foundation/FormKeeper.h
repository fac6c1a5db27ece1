// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include <QObject>

#include "Registry.h"
#include "RegistryLib.h"

class QWidget;

namespace tessalune {

class TFormKeeper;
class TProject;

// The host's own settings handler: Reg is open on the window's key; the
// handler neither closes nor frees it.
using TStoreEvent = std::function<void(TFormKeeper& Sender, TRegistry& Reg)>;

// Keeps a top-level window's placement (position, size, normal or maximized)
// and, on request, the texts of its line edits (not number edits) in the
// settings store under "Forms\" + FormName, and lends the open key to the
// host's OnLoad and OnSave for settings of its own. Top and Left are the
// window frame's position, Width and Height the size of its contents, as the
// window system reports and applies them.
class TFormKeeper : public QObject {
public:
  // Owner must be a top-level window; any other owner raises "Invalid class
  // typecast". The keeper belongs to that window.
  explicit TFormKeeper(QObject* Owner);

  TProject* Project = nullptr;  // its address wins when set; not owned
  TRegistryAddress RegistryAddress;
  bool FormStore = true;
  std::string FormName;  // the window's object name when the keeper was made
  bool ComponentsStore = false;
  TStoreEvent OnLoad;
  TStoreEvent OnSave;

  // True while Load runs; the window's resize handling reads it.
  bool Loading() const { return loading_; }

  // A store that refuses a value ends the save there; its failure is shown
  // once in the program's run (WriteOptionalSettings) and not raised.
  void Save();
  // With FormOnly only the placement is restored: no edit texts, no OnLoad.
  // A value that cannot be read keeps the window's own setting (an edit is
  // emptied); it is shown once in the run as a refused save is.
  void Load(bool FormOnly);

private:
  std::unique_ptr<TRegistry> OpenFormKey() const;
  void SaveForm(TRegistry& reg);
  void LoadForm(TRegistry& reg);
  void SaveComponents(TRegistry& reg);
  void LoadComponents(TRegistry& reg);

  QWidget* form_;
  bool loading_ = false;
};

}  // namespace tessalune

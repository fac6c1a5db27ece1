// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <QAction>

#include "ConfigSandbox.h"
#include "Globals.h"
#include "HelpTopics.h"
#include "MainForm.h"
#include "ScriptedPrompt.h"
#include "ShellOpen.h"

namespace tessalune::test {

// The main window shown offscreen on an empty settings store of its own
// (the documents folder named in it), with the shipped templates and help, a
// scripted prompt and a desktop that only records what it is asked to open.
class MainFormTest : public ::testing::Test {
protected:
  MainFormTest();
  ~MainFormTest() override;

  // Makes and shows the window; a window made before is closed and freed
  // first, as when the program ends and starts again.
  TfrmMain& Start();
  // Frees the window without asking it to close, as at the program's end.
  void Finish();
  TfrmMain& Window() { return *window_; }

  QAction& Action(const char* name);
  void Trigger(const char* name) { Action(name).trigger(); }
  bool Enabled(const char* name) { return Action(name).isEnabled(); }
  template <class Control>
  Control& Find(const char* name) {
    auto* control = window_->findChild<Control*>(name);
    if (!control) ADD_FAILURE() << "no control " << name;
    return *control;
  }

  // A BMP picture of width x height in the sandbox, by its path there.
  std::string Picture(const std::string& name, int width = 40, int height = 30) const;
  // Adds pictures through Add Images, as the user picks them.
  void AddImages(const std::vector<std::string>& files);
  // Adds a picture of each name and width with its description, one by one;
  // returns the bytes of each description's picture.
  std::map<std::string, std::string> AddDescribed(
      const std::vector<std::tuple<std::string, int, std::string>>& pictures);
  // Selects exactly the list items at these positions.
  void Select(const std::vector<int>& items);
  // The pictures' file names without folders, in gallery order and in list order.
  std::vector<std::string> GalleryNames() const;
  std::vector<std::string> ListNames() const;
  // Saves the gallery under a name in the sandbox and returns its path.
  std::string SaveAs(const std::string& name);

  ConfigSandbox config_;
  std::string documents_;
  ScriptedPrompt prompt_;
  std::vector<std::string> opened_;  // what the desktop was asked to open

private:
  ScopedTemplatesRoot templates_;
  ScopedHelpFolder help_;
  TShellOpenHandler shell_;
  std::unique_ptr<TfrmMain> window_;
};

}  // namespace tessalune::test

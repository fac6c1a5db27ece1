// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "GalleryProp.h"
#include "Globals.h"
#include "PublicDlg.h"
#include "ScriptedPrompt.h"
#include "ShellOpen.h"
#include "TestSupport.h"

namespace tessalune::test {

// Gives a setting a value other than its default that its control can hold:
// texts get the setting's name and suffix.
void SetOtherValue(TPicGallery& gallery, const TGallerySetting& setting, const std::string& suffix);
// A setting's value as text.
std::string ValueOf(const TPicGallery& gallery, const TGallerySetting& setting);

// The publishing dialog on a gallery with the defaults, templates made by
// the test in a sandbox (the default one, Grid, from the start), a scripted
// prompt and a shell that only records what it is asked to open.
class PublicDlgTest : public ::testing::Test {
protected:
  PublicDlgTest();
  ~PublicDlgTest() override;

  // A template folder; page.html only when withPage, screenshot.jpg (a
  // picture of the given size) only when screenshotWidth is not 0.
  void MakeTemplate(const std::string& name, bool withPage = true, int screenshotWidth = 0,
                    int screenshotHeight = 0) const;
  // Writes a BMP picture filled with one colour into the sandbox and returns
  // its path.
  std::string Picture(const std::string& name, int width = 40, int height = 30,
                      Qt::GlobalColor colour = Qt::darkCyan) const;

  // Creates the dialog on gallery_ and loads it, as ShowPublishDialog does.
  void Open(bool publishMode = false);
  TfrmPublic& Dialog() { return *dialog_; }

  // The dialog's control of that object name; the test fails without it.
  template <class Control>
  Control& Find(const char* name) {
    auto* control = dialog_->findChild<Control*>(name);
    if (!control) ADD_FAILURE() << "no control " << name;
    return *control;
  }
  void SetText(const char* edit, const std::string& text);
  void Click(const char* button);
  bool ApplyEnabled();
  // The page shown and the control that has (or will have) the focus.
  int CurrentPage();
  QWidget* Focused() { return dialog_->focusWidget(); }

  Sandbox box_;
  ScopedTemplatesRoot root_;
  ScriptedPrompt prompt_;
  TPicGallery gallery_;
  std::vector<std::string> opened_;

private:
  TShellOpenHandler previousShell_;
  std::unique_ptr<TfrmPublic> dialog_;
};

}  // namespace tessalune::test

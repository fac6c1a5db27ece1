// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QString>

class QWidget;

namespace tessalune {

// The program's help: HTML topics of our own in the folder "Help" beside the
// executable, one file per help context, named after the context's number
// ("50.html"). A window's controls carry help contexts; F1, or the caption's
// What's This button and then a click, shows the topic of the control (or of
// its nearest enclosing control that has one) in a pop-up beside it. Whole
// topics open in the browser through ShellOpenFile(HelpTopicFile(n)).

// The help folder: the running executable's folder plus "Help".
const std::string& HelpFolder();

// The topic file of a help context: HelpFolder(), "/", the number, ".html".
std::string HelpTopicFile(int context);

// The topic's HTML as the pop-up shows it; empty for context 0 and for a
// topic that is not installed or cannot be read.
QString HelpTopicText(int context);

// Gives control a help context; 0 takes it away. The control then shows its
// topic as its What's This text.
void SetHelpContext(QWidget& control, int context);
// The help context given to control itself; 0 when it has none.
int HelpContext(const QWidget& control);

// The control whose help a click on control shows: control itself or its
// nearest enclosing control, within its window, that has a topic to show;
// nullptr when none has.
QWidget* HelpControl(QWidget* control);

// Shows the help of HelpControl(control) as a pop-up beside it; nothing when
// there is none.
void ShowControlHelp(QWidget* control);

// Gives window its help keys: F1 shows the help of the control that has the
// focus, and the caption gets the What's This button. Call it before the
// window is shown.
void InstallControlHelp(QWidget& window);

// While an object of this class lives, HelpFolder() answers `folder`.
class ScopedHelpFolder {
public:
  explicit ScopedHelpFolder(std::string folder);
  ~ScopedHelpFolder();
  ScopedHelpFolder(const ScopedHelpFolder&) = delete;
  ScopedHelpFolder& operator=(const ScopedHelpFolder&) = delete;

private:
  std::string folder_;
  const std::string* previous_;
};

}  // namespace tessalune

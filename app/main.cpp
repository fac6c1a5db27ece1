// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the application object with its error display, the title and
// icon, the random generator (the "Created by" line of published pages draws
// from it), the Qt prompt, then the main window until it closes. The program
// reads no arguments.
#include <QIcon>

#include "Application.h"
#include "MainForm.h"
#include "QtUserPrompt.h"
#include "Random.h"

int main(int argc, char* argv[]) {
  tessalune::TApplication application(argc, argv);
  tessalune::TApplication::SetTitle("Tessalune");
  QApplication::setWindowIcon(QIcon(":/icons/tessalune.svg"));
  QGuiApplication::setDesktopFileName("tessalune");
  tessalune::Randomize();
  tessalune::TQtUserPrompt prompt;  // questions and the error box, from here on
  tessalune::TfrmMain frmMain;
  frmMain.show();
  return application.exec();
}

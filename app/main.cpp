// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the application object with its error display, the title, the
// random generator and the Qt prompt. The program reads no arguments.
#include <cstdio>
#include <cstdlib>

#include "Application.h"
#include "QtUserPrompt.h"
#include "Random.h"

int main(int argc, char* argv[]) {
  tessalune::TApplication application(argc, argv);
  tessalune::TApplication::SetTitle("Tessalune");
  tessalune::Randomize();
  tessalune::TQtUserPrompt prompt;  // questions and the error box, from here on
  std::fputs("Tessalune has no main window yet, so there is nothing to start.\n", stderr);
  return EXIT_FAILURE;
}

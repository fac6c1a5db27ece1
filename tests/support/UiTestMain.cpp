// SPDX-License-Identifier: GPL-3.0-or-later
// main() for user-interface tests: the program's own application object (so
// the error display's last net is there) on the offscreen platform, with the
// program's title. A scripted prompt stands in for the user throughout, so a
// question that no test scripted fails the test that asked it.
#include <gtest/gtest.h>

#include "Application.h"
#include "ScriptedPrompt.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  tessalune::TApplication application(argc, argv);
  tessalune::TApplication::SetTitle("Tessalune");
  ::testing::InitGoogleTest(&argc, argv);
  tessalune::test::ScriptedPrompt prompt;
  return RUN_ALL_TESTS();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ErrorDisplay.h"
#include "Errors.h"
#include "ScriptedPrompt.h"

namespace tessalune {
namespace {

// The full stop follows every last byte that sorts above "." in byte order.
TEST(ErrorDisplay, AddsAFullStopOnlyAfterBytesAboveTheDot) {
  for (const auto& [message, shown] : std::vector<std::pair<std::string, std::string>>{
           {"Cannot open file a.gmf", "Cannot open file a.gmf."}, {"Continue?", "Continue?."},
           {"Reason:", "Reason:."}, {"caf\xC3\xA9", "caf\xC3\xA9."}, {"Done.", "Done."},
           {"Stop!", "Stop!"}, {"(none)", "(none)"}, {"blank ", "blank "}, {"", ""}})
    EXPECT_EQ(ErrorDisplayText(message), shown) << message;
}

TEST(ErrorDisplay, GuardedShowsAnEscapingFailureOnceAndGoesOn) {
  test::ScriptedPrompt prompt;
  bool after = false;
  Guarded([] { throw EFOpenError("Cannot open file /x/a.gmf"); });
  Guarded([] { throw std::runtime_error("Out of memory"); });
  Guarded([&] { after = true; });
  EXPECT_TRUE(after);
  EXPECT_EQ(prompt.Errors(), (std::vector<std::string>{"Cannot open file /x/a.gmf.", "Out of memory."}));
}

}  // namespace
}  // namespace tessalune

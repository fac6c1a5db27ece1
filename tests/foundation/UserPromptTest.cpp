// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Errors.h"
#include "ScriptedPrompt.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

TEST(UserPrompt, WithoutAnInstalledPromptEveryQuestionIsCancelled) {
  EXPECT_EQ(MessageDlg("Go on?", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrCancel);
  std::vector<std::string> files{"stale"};
  EXPECT_FALSE(UserPrompt().OpenDialog({}, files));
  std::string name;
  EXPECT_FALSE(UserPrompt().SaveDialog({}, name));
}

TEST(UserPrompt, AScriptAnswersInOrderAndRestoresThePreviousPrompt) {
  {
    test::ScriptedPrompt script;
    script.Answer(mrYes);
    script.Answer(mrNoToAll);
    EXPECT_EQ(MessageDlg("first", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrYes);
    EXPECT_EQ(MessageDlg("second", TMsgDlgType::mtWarning, mbOK, 7), mrNoToAll);
    ASSERT_EQ(script.Questions().size(), 2u);
    EXPECT_EQ(script.Questions()[1].Message, "second");
    EXPECT_EQ(script.Questions()[1].HelpContext, 7);
    EXPECT_TRUE(script.Exhausted());
  }
  EXPECT_EQ(MessageDlg("after", TMsgDlgType::mtInformation, mbOK), mrCancel);
}

TEST(Errors, FormatAndTheListIndexErrorCarryTheExactText) {
  EXPECT_EQ(Format("Cannot open file %s", "/tmp/a b.gmf"), "Cannot open file /tmp/a b.gmf");
  try {
    RaiseListIndexError(-1);
    FAIL() << "no exception";
  } catch (const EListError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
  }
}

}  // namespace
}  // namespace tessalune

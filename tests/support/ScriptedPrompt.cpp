// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace tessalune::test {

ScriptedPrompt::ScriptedPrompt() : previous_(SetUserPrompt(this)) {}

ScriptedPrompt::~ScriptedPrompt() { SetUserPrompt(previous_); }

bool ScriptedPrompt::Exhausted() const {
  return answers_.empty() && openChoices_.empty() && saveChoices_.empty();
}

TModalResult ScriptedPrompt::MessageDlg(const TMessageDlgRequest& request) {
  questions_.push_back(request);
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question: " << request.Message;
    return mrCancel;
  }
  const TModalResult answer = answers_.front();
  answers_.pop_front();
  return answer;
}

bool ScriptedPrompt::OpenDialog(const TFileDialogRequest& request, std::vector<std::string>& files) {
  openRequests_.push_back(request);
  if (openChoices_.empty()) {
    ADD_FAILURE() << "unexpected open dialog: " << request.Title;
    return false;
  }
  files = openChoices_.front();
  openChoices_.pop_front();
  return !files.empty();
}

bool ScriptedPrompt::SaveDialog(const TFileDialogRequest& request, std::string& fileName) {
  saveRequests_.push_back(request);
  if (saveChoices_.empty()) {
    ADD_FAILURE() << "unexpected save dialog: " << request.Title;
    return false;
  }
  fileName = saveChoices_.front();
  saveChoices_.pop_front();
  return !fileName.empty();
}

}  // namespace tessalune::test

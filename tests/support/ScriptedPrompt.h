// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "UserPrompt.h"

namespace tessalune::test {

// Answers the user's questions from a script and records every question and
// every error shown. Installed for its lifetime; a question the script has no
// answer for fails the running test and is answered as cancelled.
class ScriptedPrompt final : public TUserPrompt {
public:
  using Question = TMessageDlgRequest;

  ScriptedPrompt();
  ~ScriptedPrompt() override;
  ScriptedPrompt(const ScriptedPrompt&) = delete;
  ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

  // Queues the answers, in the order the questions will come.
  void Answer(TModalResult result) { answers_.push_back(result); }
  void ChooseFiles(std::vector<std::string> files) { openChoices_.push_back(std::move(files)); }
  void ChooseSaveName(std::string fileName) { saveChoices_.push_back(std::move(fileName)); }
  // An empty choice list or name stands for a cancelled dialog.
  void CancelOpen() { openChoices_.push_back({}); }
  void CancelSave() { saveChoices_.push_back({}); }

  const std::vector<Question>& Questions() const { return questions_; }
  // The texts the default error display showed, in order.
  const std::vector<std::string>& Errors() const { return errors_; }
  const std::vector<TFileDialogRequest>& OpenRequests() const { return openRequests_; }
  const std::vector<TFileDialogRequest>& SaveRequests() const { return saveRequests_; }
  // True when every queued answer was used.
  bool Exhausted() const;

  TModalResult MessageDlg(const TMessageDlgRequest& request) override;
  void ShowErrorMessage(const std::string& text) override { errors_.push_back(text); }
  bool OpenDialog(const TFileDialogRequest& request, std::vector<std::string>& files) override;
  bool SaveDialog(const TFileDialogRequest& request, std::string& fileName) override;

private:
  TUserPrompt* previous_;
  std::deque<TModalResult> answers_;
  std::deque<std::vector<std::string>> openChoices_;
  std::deque<std::string> saveChoices_;
  std::vector<Question> questions_;
  std::vector<std::string> errors_;
  std::vector<TFileDialogRequest> openRequests_;
  std::vector<TFileDialogRequest> saveRequests_;
};

}  // namespace tessalune::test

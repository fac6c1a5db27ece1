// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserPrompt.h"

namespace tessalune {
namespace {

class TCancellingPrompt final : public TUserPrompt {
public:
  TModalResult MessageDlg(const TMessageDlgRequest&) override { return mrCancel; }
  void ShowErrorMessage(const std::string&) override {}
  bool OpenDialog(const TFileDialogRequest&, std::vector<std::string>&) override { return false; }
  bool SaveDialog(const TFileDialogRequest&, std::string&) override { return false; }
};

TCancellingPrompt cancellingPrompt;
TUserPrompt* installedPrompt = &cancellingPrompt;

}  // namespace

TUserPrompt& UserPrompt() { return *installedPrompt; }

TUserPrompt* SetUserPrompt(TUserPrompt* prompt) {
  TUserPrompt* previous = installedPrompt;
  installedPrompt = prompt ? prompt : &cancellingPrompt;
  return previous;
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType kind, TMsgDlgButtons buttons,
                        int helpContext) {
  TMessageDlgRequest request;
  request.Message = message;
  request.Kind = kind;
  request.Buttons = buttons;
  request.HelpContext = helpContext;
  return UserPrompt().MessageDlg(request);
}

void ShowMessage(const std::string& message) {
  MessageDlg(message, TMsgDlgType::mtCustom, mbOK);
}

}  // namespace tessalune

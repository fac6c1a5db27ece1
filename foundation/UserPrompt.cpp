// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserPrompt.h"

namespace tessalune {
namespace {

class TCancellingPrompt final : public TUserPrompt {
public:
  TModalResult MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons, int) override {
    return mrCancel;
  }
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
  return UserPrompt().MessageDlg(message, kind, buttons, helpContext);
}

}  // namespace tessalune

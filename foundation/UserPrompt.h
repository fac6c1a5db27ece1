// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tessalune {

// The questions that core code asks the user: the standard message dialog and
// the open and save file dialogs. Core code never includes a widget header; the
// user interface installs a Qt implementation at start-up and tests install
// scripted answers.

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message dialog, combined as a bit set, in the dialog's order.
enum TMsgDlgBtn : unsigned {
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
  mbAll = 1u << 7,
  mbNoToAll = 1u << 8,
  mbYesToAll = 1u << 9,
  mbHelp = 1u << 10,
};
using TMsgDlgButtons = unsigned;

// The modal results, with the class library's numbers (they are stored, for
// instance as a gallery's remembered duplicate answer).
enum TModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10,
};

// What a message dialog is asked to show. The caption follows the kind
// ("Warning", "Error", "Information", "Confirm"; the application's title for
// mtCustom).
struct TMessageDlgRequest {
  std::string Message;
  TMsgDlgType Kind = TMsgDlgType::mtInformation;
  TMsgDlgButtons Buttons = mbOK;
  int HelpContext = 0;
  // The button that Enter presses; 0 leaves the dialog's own choice: OK, else
  // Yes, else Retry, whichever the dialog has.
  TMsgDlgButtons DefaultButton = 0;
  // Centred on the screen instead of over the active window.
  bool ScreenCenter = false;
};

// What an open or save dialog is asked to show. Filter uses the
// "Description|*.ext|..." form; FilterIndex counts from 1. Neither dialog
// offers an "open as read-only" box.
struct TFileDialogRequest {
  std::string Title;
  std::string DefaultExt;
  std::string Filter;
  int FilterIndex = 1;
  std::string InitialDir;
  std::string FileName;
  bool AllowMultiSelect = false;
  bool OverwritePrompt = false;
  bool PicturePreview = false;
  // Open dialogs only: false accepts the typed name of a file that does not
  // exist yet.
  bool FileMustExist = true;
};

class TUserPrompt {
public:
  virtual ~TUserPrompt() = default;
  // Shows the standard message dialog and returns the button pressed. Escape
  // presses Cancel, else No, else OK; the close box answers mrCancel.
  virtual TModalResult MessageDlg(const TMessageDlgRequest& request) = 0;
  // The default error display: text in a box with the error icon, the
  // application's title as caption and an OK button.
  virtual void ShowErrorMessage(const std::string& text) = 0;
  // Returns false when the user cancels; otherwise files holds the choice.
  virtual bool OpenDialog(const TFileDialogRequest& request, std::vector<std::string>& files) = 0;
  // Returns false when the user cancels; otherwise fileName holds the choice.
  virtual bool SaveDialog(const TFileDialogRequest& request, std::string& fileName) = 0;
};

// The installed prompt. Until one is installed every question is answered as
// if the user cancelled it.
TUserPrompt& UserPrompt();

// Installs a prompt (nullptr restores the cancelling default) and returns the
// one it replaces. The caller keeps ownership.
TUserPrompt* SetUserPrompt(TUserPrompt* prompt);

// Shorthand for UserPrompt().MessageDlg with the dialog's own default button.
TModalResult MessageDlg(const std::string& message, TMsgDlgType kind, TMsgDlgButtons buttons,
                        int helpContext = 0);

// The plain message box: the text, the application's title as caption, OK.
void ShowMessage(const std::string& message);

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <string>

namespace tessalune {

// The default error display, and the guard that keeps exceptions out of Qt's
// event loop. Every slot and event handler that runs program code runs it
// through Guarded; the application's event delivery is the last net for
// anything that gets past a handler (ui/Application).

// The message as the error box shows it: a "." is added when the last byte
// sorts above "." (after a letter, a digit, "?" or ":", not after ".", "!",
// ")" or a blank).
std::string ErrorDisplayText(const std::string& message);

// Shows the exception's message in the error box (UserPrompt().ShowErrorMessage).
void ShowException(const std::exception& error);

// Runs handler; an exception that leaves it is shown by the default error
// display and goes no further, so the program goes on.
template <typename Handler>
void Guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

}  // namespace tessalune

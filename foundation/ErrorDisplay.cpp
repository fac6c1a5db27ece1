// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorDisplay.h"

#include "UserPrompt.h"

namespace tessalune {

std::string ErrorDisplayText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + '.';
  return message;
}

void ShowException(const std::exception& error) {
  UserPrompt().ShowErrorMessage(ErrorDisplayText(error.what()));
}

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "ErrorDisplay.h"

namespace tessalune {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

// The application name rather than the display name: Qt appends a display
// name to every window caption, and the captions are the program's own.
QString TApplication::Title() { return QCoreApplication::applicationName(); }

void TApplication::SetTitle(const QString& Value) { QCoreApplication::setApplicationName(Value); }

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
    return false;
  }
}

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace tessalune {

// The program's application object. Its event delivery is the last net of
// the default error display: an exception that gets past an event handler
// (a slot, an event filter, a timer) is shown there once and the program
// goes on. Handlers still run program code through Guarded (ErrorDisplay.h),
// since an exception that crosses Qt's own frames leaves Qt undefined.
class TApplication : public QApplication {
public:
  TApplication(int& argc, char** argv);

  // The name in message box captions and the task bar.
  static QString Title();
  static void SetTitle(const QString& Value);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tessalune

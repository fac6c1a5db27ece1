// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellOpen.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <utility>

namespace tessalune {
namespace {

bool OpenOnDesktop(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

TShellOpenHandler& Handler() {
  static TShellOpenHandler handler;
  return handler;
}

bool Open(const std::string& url) {
  const TShellOpenHandler& handler = Handler();
  return handler ? handler(url) : OpenOnDesktop(url);
}

}  // namespace

bool ShellOpenFile(const std::string& path) {
  return Open(QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString());
}

bool ShellOpenUrl(const std::string& url) { return Open(url); }

TShellOpenHandler SetShellOpenHandler(TShellOpenHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace tessalune

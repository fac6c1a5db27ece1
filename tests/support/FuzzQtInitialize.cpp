// SPDX-License-Identifier: GPL-3.0-or-later
// LLVMFuzzerInitialize for fuzz targets that paint or decode through QtGui:
// one QGuiApplication on the offscreen platform for the whole run.
#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(*argc, *argv);
  return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// libEMF's GDI declarations clash with Qt and with our own names, so its one
// user lives alone in this file.
#include <libEMF/emf.h>

#include <string>

namespace tessalune::test {

void WriteLibEmfPicture(const std::string& fileName) {
  // The frame in hundredths of a millimetre: 100 pixels at 96 per inch.
  const RECT frame{0, 0, 2646, 2646};
  HDC dc = CreateEnhMetaFileA(0, fileName.c_str(), &frame, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 10, 10, 50, 40);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH, "DejaVu Sans");
  SelectObject(dc, font);
  SetTextColor(dc, RGB(0, 0, 255));
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_TOP | TA_LEFT);
  TextOutA(dc, 60, 60, "HH", 2);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
  DeleteObject(font);
}

}  // namespace tessalune::test

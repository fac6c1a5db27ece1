// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tessalune {

class TImageFile;

// How two pictures sort: negative when Item1 goes first, 0 when their keys
// are equal, positive when Item1 goes after Item2.
using TImageFileCompare = int (*)(const TImageFile& Item1, const TImageFile& Item2);

// By the file names without their folders (CompareText), and by the files'
// last-write times (FileAge), ascending or descending.
int CompareFileNames(const TImageFile& Item1, const TImageFile& Item2);
int CompareFileNamesDesc(const TImageFile& Item1, const TImageFile& Item2);
int CompareFileDates(const TImageFile& Item1, const TImageFile& Item2);
int CompareFileDatesDesc(const TImageFile& Item1, const TImageFile& Item2);

// Byte by byte with only the letters a to z taken as A to Z: the first pair of
// bytes that differs decides by the difference of their codes; when one text
// begins the other, the shorter goes first. No locale, digits one by one.
int CompareText(std::string_view S1, std::string_view S2);

// The file's last write in local time, packed as MS-DOS date (upper 16 bits)
// and time (lower 16 bits, seconds in steps of 2), taken as an unsigned
// number; -1 when fileName names no existing file (a missing file, a folder)
// or its time lies outside the MS-DOS range of 1980 to 2107.
std::int64_t FileAge(const std::string& fileName);

// The sort dialog: by file name or file date, ascending or descending.
// "File name" and "Ascending" are on whenever it is made.
class TfrmSort : public QDialog {
  Q_OBJECT

public:
  explicit TfrmSort(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;
  QRadioButton* rbnFileName;
  QRadioButton* rbnFileDate;
  QGroupBox* GroupBox2;
  QRadioButton* rbnAsc;
  QRadioButton* rbnDesc;
  QPushButton* btnOK;
  QPushButton* btnCancel;
};

// Shows the sort dialog modally over parent. Compare receives the comparer
// of the choices on display, whatever button closed the dialog; the result is
// true only for OK.
bool ShowSortDialog(TImageFileCompare& Compare, QWidget* parent = nullptr);

}  // namespace tessalune

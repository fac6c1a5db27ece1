// SPDX-License-Identifier: GPL-3.0-or-later
#include "SortDlg.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <ctime>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogButtons.h"
#include "FileLib.h"
#include "GalleryProp.h"

namespace tessalune {
namespace {

unsigned char UpperAscii(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 'a' && code <= 'z' ? static_cast<unsigned char>(code - ('a' - 'A')) : code;
}

int Sign(std::int64_t value) { return (value > 0) - (value < 0); }

// A radio pair in a group box, the first one on.
QGroupBox* RadioGroup(QWidget* parent, const char* name, const char* caption, QRadioButton* first,
                      QRadioButton* second) {
  auto* box = new QGroupBox(caption, parent);
  box->setObjectName(name);
  first->setChecked(true);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(15, 10, 15, 10);
  layout->addWidget(first, 1);
  layout->addWidget(second, 1);
  return box;
}

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QRadioButton(caption, parent);
  button->setObjectName(name);
  return button;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setMinimumSize(75, 25);
  button->setFocusPolicy(Qt::ClickFocus);  // no tab stop
  return button;
}

}  // namespace

int CompareText(std::string_view S1, std::string_view S2) {
  const std::size_t common = std::min(S1.size(), S2.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int difference = int(UpperAscii(S1[i])) - int(UpperAscii(S2[i]));
    if (difference != 0) return difference;
  }
  const auto lengths = static_cast<std::int64_t>(S1.size()) - static_cast<std::int64_t>(S2.size());
  return int(std::clamp<std::int64_t>(lengths, INT_MIN, INT_MAX));
}

std::int64_t FileAge(const std::string& fileName) {
  struct stat status {};
  if (::stat(fileName.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return -1;
  std::tm local{};
  if (::localtime_r(&status.st_mtime, &local) == nullptr) return -1;
  const int year = local.tm_year + 1900;
  if (year < 1980 || year > 2107) return -1;
  const auto date = std::uint32_t((year - 1980) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
  const auto time = std::uint32_t(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
  return std::int64_t(date << 16 | time);
}

int CompareFileNames(const TImageFile& Item1, const TImageFile& Item2) {
  return CompareText(FileNamePart(Item1.FileName), FileNamePart(Item2.FileName));
}

int CompareFileNamesDesc(const TImageFile& Item1, const TImageFile& Item2) {
  return -CompareFileNames(Item1, Item2);
}

// By the sign of the difference: the MS-DOS times of 2044 and later have the
// top bit set and would overflow a 32-bit difference.
int CompareFileDates(const TImageFile& Item1, const TImageFile& Item2) {
  return Sign(FileAge(Item1.FileName) - FileAge(Item2.FileName));
}

int CompareFileDatesDesc(const TImageFile& Item1, const TImageFile& Item2) {
  return -CompareFileDates(Item1, Item2);
}

TfrmSort::TfrmSort(QWidget* parent)
    : QDialog(parent),
      rbnFileName(Radio(this, "rbnFileName", "File name")),
      rbnFileDate(Radio(this, "rbnFileDate", "File date")),
      rbnAsc(Radio(this, "rbnAsc", "Ascending")),
      rbnDesc(Radio(this, "rbnDesc", "Descending")),
      btnOK(Button(this, "btnOK", "OK")),
      btnCancel(Button(this, "btnCancel", "Cancel")) {
  setObjectName("frmSort");
  setWindowTitle("Sort");
  GroupBox1 = RadioGroup(this, "GroupBox1", " Sort by ", rbnFileName, rbnFileDate);
  GroupBox2 = RadioGroup(this, "GroupBox2", " Order ", rbnAsc, rbnDesc);
  QHBoxLayout* buttons = NewOkCancelRow(*this, btnOK, btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(14);
  layout->addWidget(GroupBox1);
  layout->addWidget(GroupBox2);
  layout->addLayout(buttons);
  layout->addStrut(262);  // 282 pixels wide: the fixed size follows the layout alone
  layout->setSizeConstraint(QLayout::SetFixedSize);
  rbnFileName->setFocus();
}

bool ShowSortDialog(TImageFileCompare& Compare, QWidget* parent) {
  TfrmSort form(parent);
  const bool ok = form.exec() == QDialog::Accepted;
  if (form.rbnFileName->isChecked()) {
    Compare = form.rbnAsc->isChecked() ? CompareFileNames : CompareFileNamesDesc;
  } else {
    Compare = form.rbnAsc->isChecked() ? CompareFileDates : CompareFileDatesDesc;
  }
  return ok;
}

}  // namespace tessalune

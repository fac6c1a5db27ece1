// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <QRadioButton>

#include "DialogAnswerer.h"
#include "GalleryProp.h"
#include "SortDlg.h"

namespace tessalune {
namespace {

// A gallery of pictures named by letters ("/pictures/A.jpg", ...), listed.
class Listed {
public:
  explicit Listed(const std::string& letters) {
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const char letter : letters) Add("/pictures/" + std::string(1, letter) + ".jpg");
    view.SortByGalleryOrder();
  }
  void Add(const std::string& fileName) {
    TImageFile* picture = gallery.ImageFiles().Add();
    picture->FileName = fileName;
    view.AddImageFile(picture);
  }
  void Select(const std::string& letters) {
    for (int row = 0; row < view.Count(); ++row) view.SetSelected(row, letters.find(Letter(view.Caption(row))) != std::string::npos);
  }
  std::string GalleryOrder() const {
    std::string letters;
    for (int i = 0; i < gallery.GetImageCount(); ++i) letters += Letter(gallery.GetImageFile(i)->FileName.substr(10));
    return letters;
  }
  std::string ListOrder() const {
    std::string letters;
    for (int row = 0; row < view.Count(); ++row) letters += Letter(view.Caption(row));
    return letters;
  }
  std::string SelectedLetters() const {
    std::string letters;
    for (int row = 0; row < view.Count(); ++row) {
      if (view.IsSelected(row)) letters += Letter(view.Caption(row));
    }
    std::sort(letters.begin(), letters.end());
    return letters;
  }

  TPicGallery gallery;
  TImageView view;

private:
  static char Letter(const std::string& caption) { return caption.at(0); }
};

using TMove = void (TImageView::*)();

struct MoveCase {
  const char* Name;
  std::string Pictures;
  std::string Selected;
  TMove Move;
  std::string Expected;
};

const MoveCase kMoveCases[] = {
    {"UpMovesTheRunPastItsNeighbour", "ABCDE", "BC", &TImageView::MoveSelectedUp, "BCADE"},
    {"DownMovesTheRunPastItsNeighbour", "ABCDE", "BC", &TImageView::MoveSelectedDown, "ADBCE"},
    {"TopPutsTheSelectedFirst", "ABCDE", "BC", &TImageView::MoveSelectedTop, "BCADE"},
    {"BottomPutsTheSelectedLast", "ABCDE", "BC", &TImageView::MoveSelectedBottom, "ADEBC"},
    {"SeparateRunsMoveUpEach", "ABCDEF", "BDF", &TImageView::MoveSelectedUp, "BADCFE"},
    {"GroupUpGathersBehindTheFirstSelected", "ABCDE", "BD", &TImageView::GroupSelectedUp, "ABDCE"},
    {"GroupDownGathersBeforeTheLastSelected", "ABCDE", "BD", &TImageView::GroupSelectedDown, "ACBDE"},
    {"GroupDownOfThree", "ABCDEF", "ACE", &TImageView::GroupSelectedDown, "BDACEF"},
    {"GroupUpOfThree", "ABCDEF", "BDF", &TImageView::GroupSelectedUp, "ABDFCE"},
    {"UpWithTheFirstSelectedMovesNothing", "ABCDE", "AC", &TImageView::MoveSelectedUp, "ABCDE"},
    {"DownWithTheLastSelectedMovesNothing", "ABCDE", "CE", &TImageView::MoveSelectedDown, "ABCDE"},
    {"GroupUpOfOneMovesNothing", "ABCDE", "C", &TImageView::GroupSelectedUp, "ABCDE"},
    {"GroupDownOfOneMovesNothing", "ABCDE", "C", &TImageView::GroupSelectedDown, "ABCDE"},
    {"TopWithoutSelection", "ABCDE", "", &TImageView::MoveSelectedTop, "ABCDE"},
    {"BottomWithoutSelection", "ABCDE", "", &TImageView::MoveSelectedBottom, "ABCDE"},
    {"UpWithoutSelection", "ABCDE", "", &TImageView::MoveSelectedUp, "ABCDE"},
    {"DownWithoutSelection", "ABCDE", "", &TImageView::MoveSelectedDown, "ABCDE"},
    {"GroupUpWithoutSelection", "ABCDE", "", &TImageView::GroupSelectedUp, "ABCDE"},
    {"GroupDownWithoutSelection", "ABCDE", "", &TImageView::GroupSelectedDown, "ABCDE"},
    {"TopOfAnEmptyList", "", "", &TImageView::MoveSelectedTop, ""},
    {"BottomOfAnEmptyList", "", "", &TImageView::MoveSelectedBottom, ""},
    {"UpOfAnEmptyList", "", "", &TImageView::MoveSelectedUp, ""},
    {"DownOfAnEmptyList", "", "", &TImageView::MoveSelectedDown, ""},
    {"GroupUpOfAnEmptyList", "", "", &TImageView::GroupSelectedUp, ""},
    {"GroupDownOfAnEmptyList", "", "", &TImageView::GroupSelectedDown, ""},
};

class ImageViewMove : public ::testing::TestWithParam<MoveCase> {};

// Gallery and list agree on the new order, and the selected pictures travel
// with their items.
TEST_P(ImageViewMove, ReordersGalleryAndListAlike) {
  const MoveCase& c = GetParam();
  Listed listed(c.Pictures);
  listed.Select(c.Selected);
  (listed.view.*c.Move)();
  EXPECT_EQ(listed.GalleryOrder(), c.Expected);
  EXPECT_EQ(listed.ListOrder(), c.Expected);
  std::string selected = c.Selected;
  std::sort(selected.begin(), selected.end());
  EXPECT_EQ(listed.SelectedLetters(), selected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageViewMove, ::testing::ValuesIn(kMoveCases),
                         [](const auto& entry) { return std::string(entry.param.Name); });

// A list left out of gallery order shows whether a move re-sorted it.
TEST(ImageViewMoves, UpAtTheTopAndDownAtTheBottomDoNotEvenReSort) {
  Listed listed("ABCDE");
  listed.gallery.GetImageFile(4)->SetIndex(0);
  listed.Select("AC");
  listed.view.MoveSelectedUp();
  EXPECT_EQ(listed.ListOrder(), "ABCDE");
  listed.Select("CE");
  listed.view.MoveSelectedDown();
  EXPECT_EQ(listed.ListOrder(), "ABCDE");
  listed.view.MoveSelectedTop();
  EXPECT_EQ(listed.ListOrder(), "CEABD");
}

// Answers the sort dialog with a key and an order, then OK or Cancel.
void AnswerSort(test::DialogAnswerer& answerer, const char* key, const char* order, bool ok) {
  answerer.Answer<TfrmSort>([=](TfrmSort& form) {
    form.findChild<QRadioButton*>(key)->setChecked(true);
    form.findChild<QRadioButton*>(order)->setChecked(true);
    if (ok) {
      form.accept();
    } else {
      form.reject();
    }
  });
}

TEST(ImageViewSort, SortsTheWholeGalleryKeepingTheSelection) {
  Listed listed("");
  for (const char* name : {"/b/c.jpg", "/x/b.jpg", "/a/A.jpg", "/y/b.jpg"}) listed.Add(name);
  listed.Select("c");
  test::DialogAnswerer answerer;
  AnswerSort(answerer, "rbnFileName", "rbnAsc", true);
  listed.view.SortImages();
  EXPECT_EQ(listed.ListOrder(), "Abbc");
  // Equal names keep their order.
  EXPECT_EQ(listed.gallery.GetImageFile(1)->FileName, "/x/b.jpg");
  EXPECT_EQ(listed.gallery.GetImageFile(2)->FileName, "/y/b.jpg");
  EXPECT_EQ(listed.SelectedLetters(), "c");
  AnswerSort(answerer, "rbnFileName", "rbnDesc", true);
  listed.view.SortImages();
  EXPECT_EQ(listed.ListOrder(), "cbbA");
}

TEST(ImageViewSort, CancelSortsNothing) {
  Listed listed("CAB");
  test::DialogAnswerer answerer;
  AnswerSort(answerer, "rbnFileName", "rbnAsc", false);
  listed.view.SortImages();
  EXPECT_EQ(listed.GalleryOrder(), "CAB");
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
// The picture list's operations that reorder the gallery. Each walks the
// items, which keep their places during the walk, moves the pictures of the
// selected ones with TImageFile::SetIndex, and then puts the items into the
// new gallery order.
#include <algorithm>
#include <climits>
#include <numeric>

#include "GalleryProp.h"
#include "ImageView.h"
#include "ImageViewModel.h"
#include "SortDlg.h"

namespace tessalune {

void TImageView::SortByGalleryOrder() {
  const int count = Count();
  // Each picture's position is looked up once, not at every comparison.
  std::vector<int> position(std::size_t(count), INT_MAX);
  for (int row = 0; row < count; ++row) {
    if (const TImageFile* picture = model_->Item(row).Data) position[std::size_t(row)] = picture->Index();
  }
  std::vector<int> order(static_cast<std::size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&position](int a, int b) { return position[std::size_t(a)] < position[std::size_t(b)]; });
  model_->Reorder(order);
}

void TImageView::MoveSelectedTop() {
  const std::vector<bool> selected = SelectionFlags();
  int k = 0;
  for (int row = 0; row < Count(); ++row) {
    if (selected[std::size_t(row)]) GetImageFileAt(row)->SetIndex(k++);
  }
  SortByGalleryOrder();
}

void TImageView::MoveSelectedBottom() {
  const std::vector<bool> selected = SelectionFlags();
  int k = 0;
  for (int row = Count() - 1; row >= 0; --row) {
    if (selected[std::size_t(row)]) GetImageFileAt(row)->SetIndex(Count() - 1 - k++);
  }
  SortByGalleryOrder();
}

void TImageView::MoveSelectedUp() {
  const std::vector<bool> selected = SelectionFlags();
  if (selected.empty() || selected.front()) return;
  for (int row = 1; row < Count(); ++row) {
    if (!selected[std::size_t(row)]) continue;
    TImageFile* picture = GetImageFileAt(row);
    picture->SetIndex(picture->Index() - 1);
  }
  SortByGalleryOrder();
}

void TImageView::MoveSelectedDown() {
  const std::vector<bool> selected = SelectionFlags();
  if (selected.empty() || selected.back()) return;
  for (int row = Count() - 2; row >= 0; --row) {
    if (!selected[std::size_t(row)]) continue;
    TImageFile* picture = GetImageFileAt(row);
    picture->SetIndex(picture->Index() + 1);
  }
  SortByGalleryOrder();
}

void TImageView::GroupSelectedUp() {
  const std::vector<bool> selected = SelectionFlags();
  int p = -1;  // where the next selected picture goes, once the first is met
  for (int row = 0; row < Count(); ++row) {
    if (!selected[std::size_t(row)]) continue;
    if (p < 0) {
      p = row + 1;
    } else {
      GetImageFileAt(row)->SetIndex(p++);
    }
  }
  SortByGalleryOrder();
}

void TImageView::GroupSelectedDown() {
  const std::vector<bool> selected = SelectionFlags();
  int p = INT_MIN;  // where the next selected picture goes, once the last is met
  for (int row = Count() - 1; row >= 0; --row) {
    if (!selected[std::size_t(row)]) continue;
    if (p == INT_MIN) {
      p = row - 1;
    } else {
      GetImageFileAt(row)->SetIndex(p--);
    }
  }
  SortByGalleryOrder();
}

void TImageView::SortImages() {
  TImageFileCompare compare = nullptr;
  if (!ShowSortDialog(compare, window())) return;
  std::vector<TImageFile*> pictures;
  pictures.reserve(std::size_t(Count()));
  for (int row = 0; row < Count(); ++row) pictures.push_back(GetImageFileAt(row));
  std::stable_sort(pictures.begin(), pictures.end(),
                   [compare](const TImageFile* a, const TImageFile* b) { return compare(*a, *b) < 0; });
  for (std::size_t p = 0; p < pictures.size(); ++p) pictures[p]->SetIndex(int(p));
  SortByGalleryOrder();
}

}  // namespace tessalune

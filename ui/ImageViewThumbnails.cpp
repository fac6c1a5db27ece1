// SPDX-License-Identifier: GPL-3.0-or-later
// Which thumbnails the picture list asks for, in which order, and what it
// does with those that arrive.
#include <algorithm>
#include <utility>

#include "GalleryProp.h"
#include "ImageView.h"
#include "ImageViewModel.h"
#include "ThumbnailLoader.h"

namespace tessalune {
namespace {

// Thumbnails are made ahead for the items within this many screens before
// and after the visible ones.
constexpr int kNeighbourhoodScreens = 2;
// The most items asked for at once, so that a huge window or a tiny icon
// size never floods the workers.
constexpr std::size_t kMaxRanked = 500;

}  // namespace

// Asks for a ranking once the events queued now have run, so that a burst of
// scroll steps ranks once.
void TImageView::ScheduleThumbnails() {
  if (updateCount_ == 0 && model_->Images() == TImageViewModel::TImages::Thumbnails) rankTimer_.start();
}

// Hands the loader the items that lack a thumbnail, most wanted first. The
// ranked list replaces the loader's queue, so items that scrolled away drop
// out of it.
void TImageView::RankThumbnails() {
  if (model_->Images() != TImageViewModel::TImages::Thumbnails || updateCount_ > 0) return;
  if (!isVisible()) {
    loader_->SetQueue({});
    return;
  }
  if (devicePixelRatioF() != devicePixelRatio_) {
    Reload();
    return;
  }
  std::vector<TThumbnailRequest> ranked;
  for (const int row : RankRows()) {
    TImageViewModel::TItem& item = model_->Item(row);
    if (!item.Thumbnail.isNull()) continue;
    if (!item.Requested) item.Requested = NewRequest(row);
    ranked.push_back(*item.Requested);
  }
  loader_->SetQueue(std::move(ranked));
}

// The visible items in reading order, then the neighbourhood's by their
// distance from the screen. Items lie along the scroll axis in row order,
// so the first one that reaches the neighbourhood is found by halving.
std::vector<int> TImageView::RankRows() const {
  const int count = model_->rowCount();
  const QRect screen = viewport()->rect();
  if (count == 0 || screen.isEmpty()) return {};
  // Rows of icons scroll down; columns of a list scroll sideways.
  const bool down = (flow() == LeftToRight) == isWrapping();
  const auto lead = [down](const QRect& r) { return down ? r.top() : r.left(); };
  const auto tail = [down](const QRect& r) { return down ? r.bottom() : r.right(); };
  const int start = lead(screen);
  const int end = tail(screen);
  const int reach = kNeighbourhoodScreens * (end - start + 1);
  const auto rect = [this](int row) { return visualRect(model_->index(row)); };
  int first = 0;
  for (int last = count; first < last;) {
    const int middle = first + (last - first) / 2;
    if (tail(rect(middle)) < start - reach) {
      first = middle + 1;
    } else {
      last = middle;
    }
  }
  std::vector<int> ranked;
  std::vector<std::pair<int, int>> near;  // distance, row
  for (int row = first; row < count; ++row) {
    const QRect r = rect(row);
    if (lead(r) > end + reach) break;
    if (r.intersects(screen)) {
      ranked.push_back(row);
    } else {
      near.emplace_back(std::max(start - tail(r), lead(r) - end), row);
    }
  }
  std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [distance, row] : near) {
    if (ranked.size() >= kMaxRanked) break;
    ranked.push_back(row);
  }
  if (ranked.size() > kMaxRanked) ranked.resize(kMaxRanked);
  return ranked;
}

TThumbnailRequest TImageView::NewRequest(int row) const {
  const TImageViewModel::TItem& item = model_->Item(row);
  TThumbnailRequest request;
  request.Id = item.Id;
  request.FileName = item.Data->FileName;
  request.Stamp = FileStampOf(request.FileName);
  request.MaxSize = DeviceIconSize();
  request.DevicePixelRatio = devicePixelRatio_;
  request.Canvas = DeviceIconSize();
  request.Margin = color_;
  request.Generation = generation_;
  return request;
}

// Only the result of the request an item is waiting for is shown; any other
// (a deleted item, an older size or generation) is dropped here.
void TImageView::ThumbnailMade(const TThumbnailRequest& request, TBitmap thumbnail) {
  const int row = model_->RowOf(request.Id);
  if (row < 0) return;
  TImageViewModel::TItem& item = model_->Item(row);
  if (!item.Requested || !(*item.Requested == request)) return;
  item.Requested.reset();
  QPixmap pixmap = QPixmap::fromImage(std::move(thumbnail));
  pixmap.setDevicePixelRatio(request.DevicePixelRatio);
  model_->SetThumbnail(row, pixmap);
}

}  // namespace tessalune

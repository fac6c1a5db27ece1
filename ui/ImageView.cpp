// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageView.h"

#include <algorithm>

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyle>

#include "ErrorDisplay.h"
#include "Errors.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "ImageViewModel.h"
#include "ThumbnailLoader.h"

namespace tessalune {
namespace {

// Sides beyond this come only from a damaged setting; they would cost
// memory for nothing.
constexpr int kMaxIconSide = 1024;
// Room around an icon and its caption in a grid cell.
constexpr int kCellPadding = 6;
// Captions of about this many characters fit under a small thumbnail.
constexpr int kCaptionChars = 16;

using TImages = TImageViewModel::TImages;

}  // namespace

TImageView::TImageView(QWidget* parent)
    : QListView(parent), model_(new TImageViewModel(this)), loader_(std::make_unique<TThumbnailLoader>()) {
  setModel(model_);
  setEditTriggers(NoEditTriggers);
  setTextElideMode(Qt::ElideMiddle);
  setDragDropMode(NoDragDrop);
  color_ = palette().color(QPalette::Base);
  rankTimer_.setSingleShot(true);
  rankTimer_.setInterval(0);
  connect(&rankTimer_, &QTimer::timeout, this, [this] { Guarded([this] { RankThumbnails(); }); });
  loader_->OnThumbnail = [this](const TThumbnailRequest& request, TThumbnail thumbnail) {
    ThumbnailMade(request, std::move(thumbnail.Bitmap));
  };
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit OnSelectItem(); });
  // Clearing the list drops the selection without a word from the selection
  // model; the list says so itself.
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { emit OnSelectItem(); });
  const auto schedule = [this] { ScheduleThumbnails(); };
  connect(model_, &QAbstractItemModel::rowsInserted, this, schedule);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, schedule);
  connect(model_, &QAbstractItemModel::layoutChanged, this, schedule);
  connect(model_, &QAbstractItemModel::modelReset, this, schedule);
  SetViewStyle(vsIcon);
  SetIconWidth(128);
  SetIconHeight(96);
}

// The workers stop before the items they might report on go.
TImageView::~TImageView() { loader_.reset(); }

void TImageView::SetThumbnailMode(bool Value) {
  if (Value != thumbnailMode_) {
    thumbnailMode_ = Value;
    if (Value) {
      UseThumbnails();
    } else {
      UseSystemIcons();
    }
  }
  if (!Value && !systemImagesInstalled_) UseSystemIcons();
}

void TImageView::UseThumbnails() {
  model_->SetImages(TImages::Thumbnails);
  UpdateItemSizes();
  Reload();
}

void TImageView::UseSystemIcons() {
  loader_->CancelAll();
  model_->SetImages(TImages::SystemIcons);
  model_->ClearThumbnails();
  systemImagesInstalled_ = true;
  UpdateItemSizes();
}

void TImageView::SetViewStyle(TViewStyle Value) {
  viewStyle_ = Value;
  setViewMode(Value == vsIcon ? IconMode : ListMode);
  // Rows of icons scroll down; the list's columns scroll sideways.
  setFlow(Value == vsIcon ? LeftToRight : TopToBottom);
  setWrapping(true);
  setResizeMode(Adjust);
  // Items stay where the layout puts them, and cannot be dragged.
  setMovement(Static);
  setDragEnabled(false);
  setAcceptDrops(false);
  // Cells of one size lay out 2,000 pictures at once; the list's columns
  // fit their longest captions.
  setUniformItemSizes(Value == vsIcon);
  UpdateItemSizes();
  ScheduleThumbnails();
}

void TImageView::SetIconWidth(int Value) { SetIconSide(iconWidth_, Value); }

void TImageView::SetIconHeight(int Value) { SetIconSide(iconHeight_, Value); }

void TImageView::SetIconSide(int& side, int Value) {
  Value = std::clamp(Value, 1, kMaxIconSide);
  if (Value == side) return;
  side = Value;
  UpdateItemSizes();
  Reload();
}

void TImageView::SetIconSize(int Width, int Height) {
  const TImageViewUpdate update(*this);
  SetIconWidth(Width);
  SetIconHeight(Height);
  SortByGalleryOrder();
}

void TImageView::SetColor(const QColor& Value) {
  if (Value == color_) return;
  color_ = Value;
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Value);
  setPalette(colours);
  Reload();
}

void TImageView::CenterBitmap(TBitmap& Bitmap) const {
  tessalune::CenterBitmap(Bitmap, QSize(iconWidth_, iconHeight_), color_);
}

bool TImageView::HasThumbnail(int Index) const {
  CheckIndex(Index);
  return !model_->Item(Index).Thumbnail.isNull();
}

// Icons in the grid get cells of one size with room for a short caption.
void TImageView::UpdateItemSizes() {
  QSize icon(iconWidth_, iconHeight_);
  if (model_->Images() != TImages::Thumbnails) {
    const int side = style()->pixelMetric(
        viewStyle_ == vsIcon ? QStyle::PM_LargeIconSize : QStyle::PM_SmallIconSize, nullptr, this);
    icon = QSize(side, side);
  }
  setIconSize(icon);
  if (viewStyle_ == vsIcon) {
    const QFontMetrics metrics(font());
    const QSize item(std::max(icon.width(), metrics.averageCharWidth() * kCaptionChars),
                     icon.height() + metrics.height() + kCellPadding);
    model_->SetItemSize(item);
    setGridSize(item + QSize(2 * kCellPadding, 2 * kCellPadding));
  } else {
    model_->SetItemSize(QSize());
    setGridSize(QSize());
  }
}

// Every thumbnail is made again, at the current size and screen scale.
void TImageView::Reload() {
  ++generation_;
  devicePixelRatio_ = devicePixelRatioF();
  loader_->CancelAll();
  model_->ClearThumbnails();
  QPixmap blank(DeviceIconSize());
  blank.setDevicePixelRatio(devicePixelRatio_);
  blank.fill(Qt::transparent);
  model_->SetPlaceholder(blank);
  ScheduleThumbnails();
}

QSize TImageView::DeviceIconSize() const {
  return QSize(std::max(1, qRound(iconWidth_ * devicePixelRatio_)), std::max(1, qRound(iconHeight_ * devicePixelRatio_)));
}

void TImageView::AddImageFile(TImageFile* ImageFile) {
  model_->Append(ImageFile, FileNamePart(ImageFile->FileName));
}

int TImageView::Count() const { return model_->rowCount(); }

TImageFile* TImageView::GetImageFile(const QModelIndex& Item) const {
  return Item.isValid() && Item.model() == model_ ? model_->Item(Item.row()).Data : nullptr;
}

TImageFile* TImageView::GetImageFileAt(int Index) const {
  CheckIndex(Index);
  return model_->Item(Index).Data;
}

std::string TImageView::Caption(int Index) const {
  CheckIndex(Index);
  return model_->Item(Index).Caption;
}

void TImageView::SetCaption(int Index, const std::string& Value) {
  CheckIndex(Index);
  model_->SetCaption(Index, Value);
}

void TImageView::Delete(int Index) {
  CheckIndex(Index);
  TImageViewModel::TItem& item = model_->Item(Index);
  item.Data = nullptr;
  loader_->Cancel(item.Id);
  model_->Remove(Index);
}

void TImageView::ClearImages() {
  loader_->CancelAll();
  model_->Clear();
}

void TImageView::BeginUpdate() {
  if (updateCount_++ == 0) setUpdatesEnabled(false);
}

void TImageView::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  setUpdatesEnabled(true);
  ScheduleThumbnails();
}

void TImageView::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
}

int TImageView::SelCount() const { return int(selectionModel()->selectedIndexes().size()); }

int TImageView::Selected() const {
  int first = -1;
  for (const QItemSelectionRange& range : selectionModel()->selection()) {
    if (first < 0 || range.top() < first) first = range.top();
  }
  return first;
}

bool TImageView::IsSelected(int Index) const {
  CheckIndex(Index);
  return selectionModel()->isSelected(model_->index(Index));
}

void TImageView::SetSelected(int Index, bool Value) {
  CheckIndex(Index);
  selectionModel()->select(model_->index(Index), Value ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

std::vector<bool> TImageView::SelectionFlags() const {
  std::vector<bool> flags(std::size_t(Count()), false);
  for (const QModelIndex& index : selectionModel()->selectedIndexes()) flags[std::size_t(index.row())] = true;
  return flags;
}

void TImageView::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  emit OnKeyDown(key, event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (key == 0) {
    event->accept();
    return;
  }
  QListView::keyPressEvent(event);
}

void TImageView::mouseDoubleClickEvent(QMouseEvent* event) {
  QListView::mouseDoubleClickEvent(event);
  emit OnDblClick();
}

void TImageView::resizeEvent(QResizeEvent* event) {
  QListView::resizeEvent(event);
  ScheduleThumbnails();
}

void TImageView::showEvent(QShowEvent* event) {
  QListView::showEvent(event);
  ScheduleThumbnails();
}

void TImageView::changeEvent(QEvent* event) {
  QListView::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) UpdateItemSizes();
}

// A window moved to a screen of another scale repaints; its thumbnails are
// then made again for that scale.
void TImageView::paintEvent(QPaintEvent* event) {
  QListView::paintEvent(event);
  if (devicePixelRatioF() != devicePixelRatio_) ScheduleThumbnails();
}

void TImageView::scrollContentsBy(int dx, int dy) {
  QListView::scrollContentsBy(dx, dy);
  ScheduleThumbnails();
}

void TImageView::startDrag(Qt::DropActions) {}

void TImageView::dragEnterEvent(QDragEnterEvent* event) { event->ignore(); }

void TImageView::dragMoveEvent(QDragMoveEvent* event) { event->ignore(); }

void TImageView::dropEvent(QDropEvent* event) { event->ignore(); }

}  // namespace tessalune

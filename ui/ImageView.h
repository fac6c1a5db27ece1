// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QListView>
#include <QTimer>

#include "Bitmap.h"

namespace tessalune {

class TImageFile;
class TImageViewModel;
class TThumbnailLoader;
struct TThumbnailRequest;

// The picture list of the main window: one item per picture of the open
// gallery, in the order of the gallery's pictures, each item referring to a
// TImageFile that it never owns or frees. It shows thumbnails or the
// desktop's file-type icons, and carries the operations that reorder the
// gallery from the selection (the moves, the groupings, the sort).
//
// Invariant: after each of its operations the items stand in gallery order.
// The view changes a picture only through TImageFile::SetIndex.
//
// Thumbnails are those of TPicIcon in fast mode, centred on the icon size
// with the view's colour in the margins (CenterBitmap). They are made on
// worker threads for the items on screen first, in reading order, then for
// those within two screens of it, nearest first; work for items that scroll
// farther away is never started, and made thumbnails stay until the next
// reload (a change of mode, size, colour or screen scale, or ClearImages).
// They are made in device pixels, so they stay crisp on scaled screens.
//
// What the main window does with it: creates it as its central widget; sets
// the selection mode (ExtendedSelection: several pictures at once),
// SetColor, the icon size and the context menu; reacts to OnSelectItem,
// OnKeyDown and OnDblClick through Guarded handlers; adds pictures with
// AddImageFile and then calls SortByGalleryOrder; calls ClearImages when the
// gallery closes; deletes an item with Delete after it has removed the
// picture from the gallery.
class TImageView : public QListView {
  Q_OBJECT

public:
  // Large icons in rows (thumbnails), or small ones in columns (the list).
  enum TViewStyle { vsIcon, vsList };

  // Shell-icon mode without any icons installed yet, 128 x 96, the icon
  // style, no items.
  explicit TImageView(QWidget* parent = nullptr);
  ~TImageView() override;

  // --- Display ---

  // True: thumbnails; false: the desktop's icons. Switching to thumbnails
  // makes every thumbnail again; the first request for icons installs them,
  // also when the mode already was false.
  bool ThumbnailMode() const { return thumbnailMode_; }
  void SetThumbnailMode(bool Value);
  bool SystemImagesInstalled() const { return systemImagesInstalled_; }

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle Value);

  // The thumbnail size in logical pixels, each side 1 to 1024. A change
  // remakes every thumbnail at the new size.
  int IconWidth() const { return iconWidth_; }
  int IconHeight() const { return iconHeight_; }
  void SetIconWidth(int Value);
  void SetIconHeight(int Value);
  // Both sides in one update, then the items in gallery order again.
  void SetIconSize(int Width, int Height);

  // The background, which is also the colour of the thumbnails' margins.
  QColor Color() const { return color_; }
  void SetColor(const QColor& Value);

  // Pads a thumbnail to IconWidth x IconHeight with the picture in the middle
  // and Color in the margins.
  void CenterBitmap(TBitmap& Bitmap) const;

  // Whether the item at Index shows its thumbnail yet.
  bool HasThumbnail(int Index) const;

  // --- Items ---

  // Appends an item for ImageFile, captioned with its file name without the
  // folder. Callers append in gallery order, then call SortByGalleryOrder.
  void AddImageFile(TImageFile* ImageFile);
  int Count() const;
  // The picture of an item (nullptr for an invalid index).
  TImageFile* GetImageFile(const QModelIndex& Item) const;
  // The picture of the item at Index; the list-index error outside the list.
  TImageFile* GetImageFileAt(int Index) const;
  std::string Caption(int Index) const;
  void SetCaption(int Index, const std::string& Value);
  // Removes the item at Index; its picture is cleared from it first and left
  // alone. The main window frees the picture before it calls this.
  void Delete(int Index);
  // Removes every item and every thumbnail.
  void ClearImages();
  // Puts the items into the order of their pictures in the gallery; items
  // keep their thumbnails and their selection.
  void SortByGalleryOrder();
  // Between these the view neither paints nor asks for thumbnails; they nest.
  void BeginUpdate();
  void EndUpdate();

  // --- Selection ---

  int SelCount() const;
  // The first selected item in list order, or -1.
  int Selected() const;
  bool IsSelected(int Index) const;
  void SetSelected(int Index, bool Value);

  // --- Reordering the gallery from the selection ---
  // Each moves pictures with TImageFile::SetIndex and then puts the items in
  // gallery order; selected items stay selected.

  // The selected pictures first, or last, each group in its previous order.
  void MoveSelectedTop();
  void MoveSelectedBottom();
  // Every run of selected pictures one place past its unselected neighbour;
  // nothing at all happens when the first (last) item is selected.
  void MoveSelectedUp();
  void MoveSelectedDown();
  // The selected pictures into one block that begins at the first selected
  // one (ends at the last selected one).
  void GroupSelectedUp();
  void GroupSelectedDown();
  // Asks for a sort order (ShowSortDialog) and sorts every picture by it;
  // pictures whose keys are equal keep their order.
  void SortImages();

signals:
  // The selection changed, also by ClearImages.
  void OnSelectItem();
  // A key was pressed in the list, before the list handles it. A handler
  // (connected directly) that sets Key to 0 keeps it from the list.
  void OnKeyDown(int& Key, Qt::KeyboardModifiers Shift);
  // A double click anywhere in the list, after the list has handled it.
  void OnDblClick();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  // Dragging and dropping do nothing.
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void UseThumbnails();
  void UseSystemIcons();
  void SetIconSide(int& side, int Value);
  void UpdateItemSizes();
  void Reload();
  QSize DeviceIconSize() const;
  void CheckIndex(int Index) const;
  std::vector<bool> SelectionFlags() const;

  // Thumbnails (ImageViewThumbnails.cpp).
  void ScheduleThumbnails();
  void RankThumbnails();
  std::vector<int> RankRows() const;
  TThumbnailRequest NewRequest(int row) const;
  void ThumbnailMade(const TThumbnailRequest& request, TBitmap thumbnail);

  TImageViewModel* model_;
  std::unique_ptr<TThumbnailLoader> loader_;
  QTimer rankTimer_;
  bool thumbnailMode_ = false;
  bool systemImagesInstalled_ = false;
  TViewStyle viewStyle_ = vsIcon;
  int iconWidth_ = 0;
  int iconHeight_ = 0;
  QColor color_;
  int updateCount_ = 0;
  // Bumped on every reload: results of earlier generations are dropped.
  std::uint64_t generation_ = 0;
  qreal devicePixelRatio_ = 1;
};

// Brackets work on a view between BeginUpdate and EndUpdate, also when the
// work raises.
class TImageViewUpdate {
public:
  explicit TImageViewUpdate(TImageView& view) : view_(view) { view_.BeginUpdate(); }
  ~TImageViewUpdate() { view_.EndUpdate(); }
  TImageViewUpdate(const TImageViewUpdate&) = delete;
  TImageViewUpdate& operator=(const TImageViewUpdate&) = delete;

private:
  TImageView& view_;
};

}  // namespace tessalune

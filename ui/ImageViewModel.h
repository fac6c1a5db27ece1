// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <QAbstractListModel>
#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QPixmap>

#include "ThumbnailJob.h"

namespace tessalune {

class TImageFile;

// The items of the picture list (TImageView): for each, the picture it shows
// (never owned), its caption and its thumbnail once made. The model shows an
// item's caption and, by the list's display mode, its thumbnail (a blank of
// the icon size until the thumbnail is made) or the desktop's icon for its
// file type. It knows nothing of how thumbnails are made.
class TImageViewModel : public QAbstractListModel {
public:
  struct TItem {
    TImageFile* Data = nullptr;
    std::string Caption;
    // Unique among the items the model ever held: the identity of the
    // item's thumbnail requests.
    std::uint64_t Id = 0;
    QPixmap Thumbnail;
    // The request last made for the thumbnail, until its result lands.
    std::optional<TThumbnailRequest> Requested;
  };

  // What items show beside their captions.
  enum class TImages { None, Thumbnails, SystemIcons };

  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  const TItem& Item(int row) const { return items_[std::size_t(row)]; }
  TItem& Item(int row) { return items_[std::size_t(row)]; }
  // The row of the item with Id, or -1.
  int RowOf(std::uint64_t Id) const;

  void Append(TImageFile* ImageFile, const std::string& Caption);
  void Remove(int row);
  void Clear();
  // Puts the items into a new order, order[k] being the row that becomes row
  // k. Selection and current item travel with their items.
  void Reorder(const std::vector<int>& order);
  void SetCaption(int row, const std::string& Caption);

  // The size of every item, when the view wants one for all (invalid: each
  // item's own).
  void SetItemSize(const QSize& Value);

  void SetImages(TImages Value);
  TImages Images() const { return images_; }
  // What an item without its thumbnail shows in thumbnail mode.
  void SetPlaceholder(const QPixmap& Value);
  void SetThumbnail(int row, const QPixmap& Value);
  // Forgets every thumbnail and every request.
  void ClearThumbnails();

private:
  QVariant Decoration(const TItem& item) const;
  QIcon SystemIcon(const TItem& item) const;
  void AllChanged(int role);

  std::vector<TItem> items_;
  std::uint64_t nextId_ = 1;
  mutable std::unordered_map<std::uint64_t, int> rows_;  // Id to row, rebuilt when stale
  mutable bool rowsStale_ = false;
  TImages images_ = TImages::None;
  QSize itemSize_;
  QPixmap placeholder_;
  QFileIconProvider iconProvider_;
  mutable QHash<QString, QIcon> iconsBySuffix_;
};

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageViewModel.h"

#include <QFileInfo>

#include "GalleryProp.h"

namespace tessalune {

int TImageViewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(items_.size());
}

QVariant TImageViewModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const TItem& item = Item(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(item.Caption);
    case Qt::DecorationRole:
      return Decoration(item);
    case Qt::SizeHintRole:
      return itemSize_.isValid() ? QVariant(itemSize_) : QVariant();
    default:
      return {};
  }
}

QVariant TImageViewModel::Decoration(const TItem& item) const {
  switch (images_) {
    case TImages::Thumbnails:
      return item.Thumbnail.isNull() ? placeholder_ : item.Thumbnail;
    case TImages::SystemIcons:
      return SystemIcon(item);
    case TImages::None:
      break;
  }
  return {};
}

// One icon per file type, asked of the desktop once. The desktop knows no
// icon for a file that is missing: such a file shows the plain file icon,
// and the type's icon is asked for again with the next file of that type.
QIcon TImageViewModel::SystemIcon(const TItem& item) const {
  const QString suffix = QFileInfo(QString::fromStdString(item.Caption)).suffix().toLower();
  const auto found = iconsBySuffix_.constFind(suffix);
  if (found != iconsBySuffix_.constEnd()) return *found;
  const QIcon icon = item.Data ? iconProvider_.icon(QFileInfo(QString::fromStdString(item.Data->FileName))) : QIcon();
  if (icon.isNull()) return iconProvider_.icon(QAbstractFileIconProvider::File);
  iconsBySuffix_.insert(suffix, icon);
  return icon;
}

int TImageViewModel::RowOf(std::uint64_t Id) const {
  if (rowsStale_) {
    rows_.clear();
    for (std::size_t row = 0; row < items_.size(); ++row) rows_.emplace(items_[row].Id, int(row));
    rowsStale_ = false;
  }
  const auto found = rows_.find(Id);
  return found == rows_.end() ? -1 : found->second;
}

void TImageViewModel::Append(TImageFile* ImageFile, const std::string& Caption) {
  const int row = int(items_.size());
  beginInsertRows(QModelIndex(), row, row);
  TItem& item = items_.emplace_back();
  item.Data = ImageFile;
  item.Caption = Caption;
  item.Id = nextId_++;
  if (!rowsStale_) rows_.emplace(item.Id, row);
  endInsertRows();
}

void TImageViewModel::Remove(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  items_.erase(items_.begin() + row);
  rowsStale_ = true;
  endRemoveRows();
}

void TImageViewModel::Clear() {
  beginResetModel();
  items_.clear();
  rows_.clear();
  rowsStale_ = false;
  endResetModel();
}

void TImageViewModel::Reorder(const std::vector<int>& order) {
  bool unchanged = true;
  for (std::size_t row = 0; row < order.size() && unchanged; ++row) unchanged = order[row] == int(row);
  if (unchanged) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> newRow(order.size());
  std::vector<TItem> sorted;
  sorted.reserve(items_.size());
  for (std::size_t row = 0; row < order.size(); ++row) {
    newRow[std::size_t(order[row])] = int(row);
    sorted.push_back(std::move(items_[std::size_t(order[row])]));
  }
  items_ = std::move(sorted);
  rowsStale_ = true;
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& index : from) to.append(this->index(newRow[std::size_t(index.row())]));
  changePersistentIndexList(from, to);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TImageViewModel::SetCaption(int row, const std::string& Caption) {
  Item(row).Caption = Caption;
  emit dataChanged(index(row), index(row), {Qt::DisplayRole});
}

void TImageViewModel::SetItemSize(const QSize& Value) {
  if (itemSize_ == Value) return;
  itemSize_ = Value;
  AllChanged(Qt::SizeHintRole);
}

void TImageViewModel::SetImages(TImages Value) {
  if (images_ == Value) return;
  images_ = Value;
  AllChanged(Qt::DecorationRole);
}

void TImageViewModel::SetPlaceholder(const QPixmap& Value) {
  placeholder_ = Value;
  if (images_ == TImages::Thumbnails) AllChanged(Qt::DecorationRole);
}

void TImageViewModel::SetThumbnail(int row, const QPixmap& Value) {
  Item(row).Thumbnail = Value;
  emit dataChanged(index(row), index(row), {Qt::DecorationRole});
}

void TImageViewModel::ClearThumbnails() {
  for (TItem& item : items_) {
    item.Thumbnail = QPixmap();
    item.Requested.reset();
  }
  if (images_ == TImages::Thumbnails) AllChanged(Qt::DecorationRole);
}

void TImageViewModel::AllChanged(int role) {
  if (!items_.empty()) emit dataChanged(index(0), index(int(items_.size()) - 1), {role});
}

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileObjects.h"

#include <algorithm>

namespace tessalune::metafile {

TMetaObjectTable::TMetaObjectTable(std::uint32_t capacity) : capacity_(capacity) {}

bool TMetaObjectTable::Add(TMetaObject object) {
  if (!holes_.empty()) {
    const std::uint32_t index = *holes_.begin();
    holes_.erase(holes_.begin());
    slots_[index] = std::move(object);
    return true;
  }
  if (slots_.size() >= capacity_) return false;
  slots_.emplace_back(std::move(object));
  return true;
}

void TMetaObjectTable::Put(std::uint32_t index, TMetaObject object) {
  if (index >= capacity_) return;
  while (slots_.size() <= index) {
    holes_.insert(static_cast<std::uint32_t>(slots_.size()));
    slots_.emplace_back();
  }
  holes_.erase(index);
  slots_[index] = std::move(object);
}

const TMetaObject* TMetaObjectTable::Get(std::uint32_t index) const {
  if (index >= slots_.size() || !slots_[index]) return nullptr;
  return &*slots_[index];
}

void TMetaObjectTable::Remove(std::uint32_t index) {
  if (index >= slots_.size() || !slots_[index]) return;
  slots_[index].reset();
  holes_.insert(index);
}

}  // namespace tessalune::metafile

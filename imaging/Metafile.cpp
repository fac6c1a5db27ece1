// SPDX-License-Identifier: GPL-3.0-or-later
#include "Metafile.h"

#include "Errors.h"

namespace tessalune {

struct TMetafile::Data {
  int width = 0;
  int height = 0;
};

TMetafile::TMetafile() : data_(std::make_unique<Data>()) {}
TMetafile::~TMetafile() = default;
TMetafile::TMetafile(TMetafile&&) noexcept = default;
TMetafile& TMetafile::operator=(TMetafile&&) noexcept = default;

void TMetafile::LoadFromFile(const std::string& fileName, bool) {
  throw Exception("Cannot read metafile " + fileName);
}

bool TMetafile::Empty() const { return data_->width == 0 || data_->height == 0; }
int TMetafile::Width() const { return data_->width; }
int TMetafile::Height() const { return data_->height; }
void TMetafile::Draw(QPainter&, const QRectF&) const {}

}  // namespace tessalune

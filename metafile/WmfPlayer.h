// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MetafileDC.h"
#include "MetafileRecords.h"
#include "WmfFile.h"

#include <string_view>

class QPainter;

namespace tessalune::metafile {

// Plays the records of a Windows metafile through a device context. The
// context starts in the anisotropic mapping mode with the file's frame as
// the window, so the window the records set fills the target.
class TWmfPlayer {
public:
  TWmfPlayer(QPainter& painter, const TWmfLayout& layout, const QRectF& target);

  void Play(const char* record, std::size_t size);

private:
  bool PlayState(std::uint8_t type, const char* record);
  bool PlayMapping(std::uint8_t type, const char* record);
  bool PlayObject(std::uint8_t type, const char* record, const TRecordView& view);
  bool PlayShape(std::uint8_t type, const char* record);
  bool PlayPoly(std::uint8_t type, const char* record, const TRecordView& view);
  bool PlayRegion(std::uint8_t type, const char* record);
  bool PlayBitmap(std::uint8_t type, const char* record, const TRecordView& view);
  void PlayDibBlt(bool stretch, const char* record, const TRecordView& view);
  bool PlayText(std::uint8_t type, const char* record, const TRecordView& view);
  void SelectObject(std::uint16_t index);
  // The packed bitmap from inner to the record's end; null when there is none.
  QImage Bitmap(const char* record, const TRecordView& view, const char* inner,
                std::uint32_t usage);
  const TMetaRegion* Region(std::uint16_t index) const;
  const TMetaBrush* Brush(std::uint16_t index) const;

  TMetafileDC dc_;
  TMetaObjectTable objects_;
};

// Plays a whole Windows metafile stretched into target.
void PlayWmf(std::string_view bytes, const TWmfLayout& layout, QPainter& painter,
             const QRectF& target);

}  // namespace tessalune::metafile

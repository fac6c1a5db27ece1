// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MetafileDC.h"
#include "MetafileRecords.h"

#include <string_view>

class QPainter;

namespace tessalune::metafile {

// Plays the records of an enhanced metafile through a device context.
// Records it does not know (and all comments, EMF+ among them) are skipped.
class TEmfPlayer {
public:
  TEmfPlayer(QPainter& painter, const TMetafileInfo& info, const QRectF& target);

  void Play(const char* record);

private:
  bool PlayState(std::uint32_t type, const TRecordView& record);
  bool PlayMapping(std::uint32_t type, const TRecordView& record);
  bool PlayObject(std::uint32_t type, const TRecordView& record);
  bool PlayShape(std::uint32_t type, const TRecordView& record);
  bool PlayPoly(std::uint32_t type, const TRecordView& record);
  bool PlayPolyPoly(std::uint32_t type, const TRecordView& record);
  bool PlayPath(std::uint32_t type, const TRecordView& record);
  bool PlayRegion(std::uint32_t type, const TRecordView& record);
  bool PlayBitmap(std::uint32_t type, const TRecordView& record);
  void PlayText(const TRecordView& record, bool wide);
  void SelectObject(std::uint32_t index);
  void SelectStockObject(std::uint32_t stock);
  QImage RecordBitmap(const TRecordView& record, std::size_t offsets, std::uint32_t usage);

  TMetafileDC dc_;
  TMetaObjectTable objects_;
};

// Plays a whole enhanced metafile stretched into target.
void PlayEmf(std::string_view bytes, const TMetafileInfo& info, QPainter& painter,
             const QRectF& target);

}  // namespace tessalune::metafile

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class QPainter;
class QRectF;

namespace tessalune {

// A Windows Metafile (".wmf") or Enhanced Metafile (".emf") picture: the
// records are read and checked once on load and played onto a QPainter on
// every draw. Files are hostile input: a record that fails its checks makes
// the load fail, never the draw.
class TMetafile {
public:
  TMetafile();
  ~TMetafile();
  TMetafile(TMetafile&&) noexcept;
  TMetafile& operator=(TMetafile&&) noexcept;

  // Reads an enhanced metafile when enhanced is set, else a Windows metafile
  // (with or without the placeable header). Raises an Exception when the file
  // cannot be opened or is not a valid metafile.
  void LoadFromFile(const std::string& fileName, bool enhanced);

  bool Empty() const;
  // The picture's size in pixels at 96 pixels per inch.
  int Width() const;
  int Height() const;

  // Plays the records stretched into target.
  void Draw(QPainter& painter, const QRectF& target) const;

private:
  void Play(QPainter& painter, const QRectF& target) const;

  struct Data;
  std::unique_ptr<Data> data_;
};

}  // namespace tessalune

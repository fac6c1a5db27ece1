// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include <QPixmap>
#include <QWidget>

#include "Bitmap.h"
#include "ThumbnailJob.h"

namespace tessalune {

class TThumbnailLoader;

// A picture file shown as its fast screen thumbnail (MakeFastThumbnail, the
// thumbnail maker in fast mode), as large as fits within the widget less 2
// pixels on every side, centred, in device pixels. It is made on a worker
// thread of the widget's own, so that even a very large photograph never
// stops the window, and made again when the widget changes size. Only the
// result of the last request is shown: one for another file or an older size
// is dropped where it arrives. The background is the parent's.
class TPicturePreview : public QWidget {
  Q_OBJECT

public:
  explicit TPicturePreview(QWidget* parent = nullptr);
  ~TPicturePreview() override;

  // Shows the file's picture; an empty name clears the preview. Another file
  // clears the picture at once; the same file keeps its picture until the
  // new one arrives.
  void SetFileName(const std::string& FileName);
  const std::string& FileName() const { return fileName_; }

  // The picture shown; null while there is none.
  const QPixmap& Picture() const { return picture_; }

signals:
  // A picture was made for the last request and is shown.
  void PictureChanged();

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void Request();
  void Made(const TThumbnailRequest& request, TBitmap thumbnail);

  std::unique_ptr<TThumbnailLoader> loader_;
  std::string fileName_;
  TThumbnailRequest wanted_;
  QPixmap picture_;
};

}  // namespace tessalune

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
// is dropped where it arrives. The load also tells the picture's pixel size,
// so that nothing else need decode the file to learn it. The background is
// the parent's.
class TPicturePreview : public QWidget {
  Q_OBJECT

public:
  explicit TPicturePreview(QWidget* parent = nullptr);
  ~TPicturePreview() override;

  // Shows the file's picture; an empty name clears the preview. Another file
  // clears the picture and its size at once; the same file keeps both until
  // the new picture arrives.
  void SetFileName(const std::string& FileName);
  const std::string& FileName() const { return fileName_; }

  // Whether the picture is painted (on at first). A picture that is not
  // painted is still made, at the widget's size, so its pixel size is known
  // and the picture shows at once when it is painted again.
  void SetPictureVisible(bool Value);
  bool PictureVisible() const { return pictureVisible_; }

  // The picture made for the file; null while there is none.
  const QPixmap& Picture() const { return picture_; }
  // The file's pixel size as the load that made the picture found it: 0 x 0
  // when the file could not be read, invalid while no picture is made.
  QSize PictureSize() const { return pictureSize_; }
  // How many times the preview has started to load a picture file.
  int Loads() const;

signals:
  // A picture was made for the last request; its size is known.
  void PictureChanged();

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void Request();
  void Made(const TThumbnailRequest& request, TThumbnail thumbnail);

  std::unique_ptr<TThumbnailLoader> loader_;
  std::string fileName_;
  TThumbnailRequest wanted_;
  QPixmap picture_;
  QSize pictureSize_;
  bool pictureVisible_ = true;
};

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;

namespace tessalune {

class TImageFile;
class TPicturePreview;

// The side panel of the main window (pnlPreview): for one picture, its
// preview, its file properties (file size, pixel size, full path) and its
// description. The main window says which picture, or none, each part shows
// and which parts are visible. The description never grows so tall that
// less than 150 pixels (with the properties) remain for the preview.
//
// The pixel size in the properties comes from the load that makes the
// preview, on its worker thread, so selecting never decodes a picture on the
// interface thread: while the properties show a picture, the preview loads
// it, painted or not.
class TPreviewPanel : public QWidget {
  Q_OBJECT

public:
  explicit TPreviewPanel(QWidget* parent = nullptr);

  // Each fills its part from Picture, or empties it for nullptr.
  void UpdatePreview(const TImageFile* Picture);
  void UpdateImageProperties(const TImageFile* Picture);
  void UpdateImageDescription(const TImageFile* Picture);

  void SetInfoVisible(bool Value);
  void SetDescriptionVisible(bool Value);
  // The pointing hand over the description while a click would edit it.
  void SetDescriptionLink(bool Value);

  TPicturePreview& Preview() const { return *imgPreview; }

signals:
  // A click on the description.
  void DescriptionClick();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QFrame* CreateDescriptionPanel();
  QFrame* CreateInfoPanel();
  void LimitDescription();
  void ShowFileProperties();

  QFrame* pnlIcon = nullptr;
  TPicturePreview* imgPreview = nullptr;
  QFrame* pnlDescription = nullptr;
  QLabel* lblDescription = nullptr;
  QFrame* pnlInfo = nullptr;
  QLabel* lblFileProp = nullptr;
  QLabel* lblFileName = nullptr;
  QLineEdit* edtFileName = nullptr;
  // The picture whose properties are shown; empty for none.
  std::string propertiesFile_;
};

}  // namespace tessalune

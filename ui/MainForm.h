// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include <QMainWindow>

class QLabel;
class QSplitter;
class QToolBar;

namespace tessalune {

class TFormKeeper;
class TImageFile;
class TImageView;
class TMainActions;
class TPicGallery;
class TPreviewPanel;
class TProject;
class TRegistry;

// The program's main window: it owns the open gallery, shows its pictures in
// the picture list and the selected one in the side panel, and keeps the
// caption, the status bar and the commands in step with the document. The
// document-file manager (prjGallery) runs New, Open, Save and Close and calls
// back through the seven document events; the window-state keeper stores the
// placement and, through its two events, the view settings
// (MainViewSettings.cpp). The commands are TMainActions'.
//
// Invariant: the list's items are the gallery's first pictures in gallery
// order, and never a picture of a gallery that was replaced.
class TfrmMain : public QMainWindow {
  Q_OBJECT

public:
  explicit TfrmMain(QWidget* Owner = nullptr);
  ~TfrmMain() override;

  TProject& Project() const { return *prjGallery; }
  TPicGallery& Gallery() const { return *Gallery_; }
  TImageView& ImageView() const { return *ImageView_; }
  TPreviewPanel& PreviewPanel() const { return *pnlPreview; }
  // The folder last used to add pictures, where adding starts next time.
  std::string DefaultImageFolder;

  // Replaces the gallery by a new one with the defaults.
  void NewGallery();
  // The View menu's marks into the list and the side panel.
  void ApplyViewSettings();
  void UpdateActions();
  // Adds items for the gallery's pictures the list lacks, in gallery order.
  void SyncImageView();
  // The sum of the sizes of the pictures' files, in bytes; 0 for each that
  // cannot be read.
  std::int64_t TotalImagesSize() const;
  // The text of a status bar panel, 0 to 2.
  QString StatusText(int Panel) const;

  // The side panel's width, which the splitter between list and panel sets.
  int PreviewWidth() const { return previewWidth_; }
  void SetPreviewWidth(int Value);

  // The side panel (its parts shown as the View menu's marks say, each
  // showing the single selected picture or nothing).
  void UpdatePreviewPanel();
  void UpdatePreview();
  void UpdateImageProperties();
  void UpdateImageDescription();
  // The selection changed: the side panel and the commands.
  void ImageViewSelectItem();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void CreateControls();
  void CreateStatusBar();
  void CreateProject();
  void CreateImageView();
  void ConnectImageView();
  void FormCreate();
  void FormDestroy();
  void FormResize();
  void ApplyPreviewWidth();
  // The view settings in the window's key of the settings store.
  void FormKeeperLoad(TRegistry& Reg);
  void FormKeeperSave(TRegistry& Reg);
  // The document events.
  void prjGalleryNew();
  void prjGalleryOpen();
  void prjGallerySave();
  void prjGalleryClose();
  void prjGalleryChanged();
  void prjGalleryNameChanged();
  void prjGalleryProjectListAdd();
  // The one selected picture, or nullptr.
  const TImageFile* SinglePicture() const;

  TProject* prjGallery = nullptr;
  TFormKeeper* FormKeeper_ = nullptr;
  std::unique_ptr<TPicGallery> Gallery_;
  TImageView* ImageView_ = nullptr;
  QToolBar* ToolBar = nullptr;
  QSplitter* VertSplitter = nullptr;
  TPreviewPanel* pnlPreview = nullptr;
  std::array<QLabel*, 3> StatusPanels{};
  int previewWidth_ = 0;
  TMainActions* Actions_ = nullptr;
};

}  // namespace tessalune

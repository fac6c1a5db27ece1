// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainSidePanel.h"

#include <exception>

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "Errors.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "ImageView.h"
#include "MainActions.h"
#include "MainForm.h"
#include "Picture.h"
#include "PicturePreview.h"

namespace tessalune {
namespace {

// What the description keeps free below the preview's top, besides the
// properties.
constexpr int kPreviewRoom = 150;

// A panel in the window's own colour on the darker preview area.
QFrame* RaisedPanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setAutoFillBackground(true);
  panel->setBackgroundRole(QPalette::Window);
  return panel;
}

// The pixel size of a picture file as "width x height"; "0 x 0" for one that
// cannot be read.
std::string PixelSizeText(const std::string& fileName) {
  TPicture picture;
  try {
    picture.LoadFromFile(fileName);
  } catch (const std::exception&) {
    picture.Clear();
  }
  return Format("%d x %d", picture.Width(), picture.Height());
}

// A description's CR LF breaks as the label shows them.
QString DisplayText(const std::string& description) {
  return QString::fromStdString(description).replace("\r\n", "\n");
}

}  // namespace

TPreviewPanel::TPreviewPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("pnlPreview");
  pnlIcon = new QFrame(this);
  pnlIcon->setObjectName("pnlIcon");
  // The classic deep well: a lowered bevel with a dark line inside it.
  pnlIcon->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  pnlIcon->setAutoFillBackground(true);
  pnlIcon->setBackgroundRole(QPalette::Dark);
  imgPreview = new TPicturePreview(pnlIcon);
  imgPreview->setObjectName("imgPreview");

  auto* well = new QVBoxLayout(pnlIcon);
  well->setContentsMargins(0, 0, 0, 0);
  well->setSpacing(0);
  well->addWidget(imgPreview, 1);
  well->addWidget(CreateDescriptionPanel());
  well->addWidget(CreateInfoPanel());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pnlIcon);
  pnlIcon->installEventFilter(this);  // once everything it looks at is there
}

QFrame* TPreviewPanel::CreateDescriptionPanel() {
  pnlDescription = RaisedPanel(pnlIcon, "pnlDescription");
  lblDescription = new QLabel(pnlDescription);
  lblDescription->setObjectName("lblDescription");
  lblDescription->setTextFormat(Qt::PlainText);
  lblDescription->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblDescription->setWordWrap(true);
  // A picture without a description still offers a line to click on.
  lblDescription->setMinimumHeight(lblDescription->fontMetrics().height());
  auto* layout = new QVBoxLayout(pnlDescription);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(lblDescription);
  lblDescription->installEventFilter(this);
  return pnlDescription;
}

QFrame* TPreviewPanel::CreateInfoPanel() {
  pnlInfo = RaisedPanel(pnlIcon, "pnlInfo");
  lblFileProp = new QLabel(pnlInfo);
  lblFileProp->setObjectName("lblFileProp");
  lblFileProp->setTextFormat(Qt::PlainText);
  lblFileProp->setWordWrap(true);
  lblFileName = new QLabel("File:", pnlInfo);
  lblFileName->setObjectName("lblFileName");
  edtFileName = new QLineEdit(pnlInfo);
  edtFileName->setObjectName("edtFileName");
  edtFileName->setFrame(false);
  edtFileName->setReadOnly(true);
  edtFileName->setFocusPolicy(Qt::ClickFocus);  // selectable, but no tab stop
  edtFileName->setBackgroundRole(QPalette::Window);
  QPalette colours = edtFileName->palette();
  colours.setColor(QPalette::Base, colours.color(QPalette::Window));
  edtFileName->setPalette(colours);

  auto* layout = new QGridLayout(pnlInfo);
  layout->setContentsMargins(9, 8, 9, 8);
  layout->setVerticalSpacing(6);
  layout->addWidget(lblFileProp, 0, 0, 1, 2);
  layout->addWidget(lblFileName, 1, 0);
  layout->addWidget(edtFileName, 1, 1);
  layout->setColumnStretch(1, 1);
  lblFileName->hide();
  return pnlInfo;
}

void TPreviewPanel::UpdatePreview(const TImageFile* Picture) {
  imgPreview->SetFileName(Picture ? Picture->FileName : std::string());
}

void TPreviewPanel::UpdateImageProperties(const TImageFile* Picture) {
  if (!Picture) {
    lblFileProp->clear();
    edtFileName->clear();
    lblFileName->hide();
    return;
  }
  const std::string& file = Picture->FileName;
  lblFileProp->setText(QString::fromStdString(Format("File size: %s   Image size: %s",
                                                     FormatFileSize(FileSizeOf(file)).c_str(),
                                                     PixelSizeText(file).c_str())));
  lblFileName->show();
  edtFileName->setText(QString::fromStdString(file));
  edtFileName->setCursorPosition(0);
}

void TPreviewPanel::UpdateImageDescription(const TImageFile* Picture) {
  lblDescription->setText(Picture ? DisplayText(Picture->Caption) : QString());
}

void TPreviewPanel::SetInfoVisible(bool Value) { pnlInfo->setVisible(Value); }

void TPreviewPanel::SetDescriptionVisible(bool Value) { pnlDescription->setVisible(Value); }

void TPreviewPanel::SetDescriptionLink(bool Value) {
  lblDescription->setCursor(Value ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

// A limit of 0 or less sets none.
void TPreviewPanel::LimitDescription() {
  const int limit = pnlIcon->contentsRect().height() - pnlInfo->height() - kPreviewRoom;
  lblDescription->setMaximumHeight(limit > 0 ? limit : QWIDGETSIZE_MAX);
}

bool TPreviewPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pnlIcon && event->type() == QEvent::Resize) LimitDescription();
  if (watched == lblDescription && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      lblDescription->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
    emit DescriptionClick();
  return QWidget::eventFilter(watched, event);
}

// The main window's side of the panel: which parts show, and for which
// picture.

const TImageFile* TfrmMain::SinglePicture() const {
  return ImageView_->SelCount() == 1 ? ImageView_->GetImageFileAt(ImageView_->Selected()) : nullptr;
}

// The splitter goes with the panel.
void TfrmMain::UpdatePreviewPanel() {
  const TMainActions& view = *Actions_;
  pnlPreview->setVisible(view.miImagePreview->isChecked() || view.miImageProperties->isChecked() ||
                         view.miImageDescription->isChecked());
}

void TfrmMain::UpdatePreview() {
  pnlPreview->UpdatePreview(Actions_->miImagePreview->isChecked() ? SinglePicture() : nullptr);
}

void TfrmMain::UpdateImageProperties() {
  pnlPreview->UpdateImageProperties(Actions_->miImageProperties->isChecked() ? SinglePicture() : nullptr);
}

void TfrmMain::UpdateImageDescription() {
  pnlPreview->UpdateImageDescription(Actions_->miImageDescription->isChecked() ? SinglePicture() : nullptr);
}

// The preview is made on a worker thread, so the list repaints its new
// selection at once however large the picture.
void TfrmMain::ImageViewSelectItem() {
  UpdateImageProperties();
  UpdateImageDescription();
  UpdateActions();
  UpdatePreview();
}

}  // namespace tessalune

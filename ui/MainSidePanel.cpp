// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainSidePanel.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "ErrorDisplay.h"
#include "Errors.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "ImageView.h"
#include "MainActions.h"
#include "MainForm.h"
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

// A description's CR LF breaks as the label shows them.
QString DisplayText(const std::string& description) {
  return QString::fromStdString(description).replace("\r\n", "\n");
}

// "4000 x 3000" as one word, which the wrapped properties line never
// breaks; empty for an invalid size.
QString PixelSizeText(QSize size) {
  if (!size.isValid()) return QString();
  return QString::fromStdString(Format("%d x %d", size.width(), size.height())).replace(' ', QChar::Nbsp);
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
  // Once everything it looks at is there.
  pnlIcon->installEventFilter(this);
  connect(imgPreview, &TPicturePreview::PictureChanged, this,
          [this] { Guarded([this] { ShowFileProperties(); }); });
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
  // Room for the two lines the size line takes at the panel's usual width,
  // and the panel keeps its height whatever they hold: the pixel size
  // arriving, or blanked for the next picture, never moves the preview,
  // which would then load its picture again at the new size.
  lblFileProp->setFixedHeight(2 * lblFileProp->fontMetrics().lineSpacing());
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
  pnlInfo->setFixedHeight(pnlInfo->sizeHint().height());
  lblFileName->hide();
  return pnlInfo;
}

// Without a preview the picture of the properties stays loaded, unpainted,
// for its pixel size.
void TPreviewPanel::UpdatePreview(const TImageFile* Picture) {
  imgPreview->SetPictureVisible(Picture != nullptr);
  imgPreview->SetFileName(Picture ? Picture->FileName : propertiesFile_);
}

// A picture of the properties is the one a painted preview shows too (both
// show the one selected picture), so it always becomes the preview's file.
void TPreviewPanel::UpdateImageProperties(const TImageFile* Picture) {
  propertiesFile_ = Picture ? Picture->FileName : std::string();
  if (Picture || !imgPreview->PictureVisible()) imgPreview->SetFileName(propertiesFile_);
  lblFileName->setVisible(Picture != nullptr);
  edtFileName->setText(QString::fromStdString(propertiesFile_));
  edtFileName->setCursorPosition(0);
  ShowFileProperties();
}

// The pixel size stays blank until the preview's load of this very file has
// told it.
void TPreviewPanel::ShowFileProperties() {
  if (propertiesFile_.empty()) {
    lblFileProp->clear();
    return;
  }
  const QSize size = imgPreview->FileName() == propertiesFile_ ? imgPreview->PictureSize() : QSize();
  lblFileProp->setText(QString::fromStdString(Format("File size: %s   Image size: ",
                                                     FormatFileSize(FileSizeOf(propertiesFile_)).c_str())) +
                       PixelSizeText(size));
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

// The preview and the pixel size are made on a worker thread, so the list
// repaints its new selection at once however large the picture.
void TfrmMain::ImageViewSelectItem() {
  UpdateImageProperties();
  UpdateImageDescription();
  UpdateActions();
  UpdatePreview();
}

}  // namespace tessalune

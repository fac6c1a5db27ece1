// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Page Style" of the publishing dialog: the colours, background
// image and link size of the pages, the look of the thumbnail table, and a
// preview painted from the controls.
#include <climits>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "EditLib.h"
#include "GalleryProp.h"
#include "PicIcon.h"
#include "PublicDlg.h"
#include "PublicDlgControls.h"
#include "PublicDlgDraw.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

constexpr char kBackgroundImageFilter[] =
    "All (*.gif;*.jpg;*.jpeg;*.bmp)|*.gif;*.jpg;*.jpeg;*.bmp;|GIF Image (*.gif)|*.gif|"
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp";
constexpr char kGalleryFilter[] = "Gallery Files|*.gmf|All Files|*.*";

constexpr int kPreviewWidth = 211;
constexpr int kPreviewHeight = 170;

// The picture of a file at its own size, through the decoders of every
// format the picture container reads; an empty bitmap when the file cannot
// be read.
TBitmap LoadBackgroundImage(const std::string& fileName) {
  TPicIcon loader;  // never enlarges, so no limit means the picture's own size
  loader.Fast = true;
  loader.MaxWidth = INT_MAX;
  loader.MaxHeight = INT_MAX;
  loader.LoadFromFile(fileName);
  return loader.PictureWidth == 0 ? TBitmap() : loader.Bitmap;
}

// The busy cursor while the object lives.
class TBusyCursor {
public:
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

QWidget* TfrmPublic::CreatePageStylePage() {
  cetLink = NewColorEdit("cetLink");
  cetActiveLink = NewColorEdit("cetActiveLink");
  cetVisitedLink = NewColorEdit("cetVisitedLink");
  cetText = NewColorEdit("cetText");
  cetBackground = NewColorEdit("cetBackground");
  btnSelectBackImage = NewButton("btnSelectBackImage", "Select");
  btnClearBackImage = NewButton("btnClearBackImage", "Clear");
  cbxLinkSize = new QComboBox;
  cbxLinkSize->setObjectName("cbxLinkSize");
  cbxLinkSize->addItems({"Normal", "Larger", "Largest"});
  auto* pageStyle = new QGridLayout;
  AddRow(*pageStyle, "Link color", cetLink);
  AddRow(*pageStyle, "Active link color", cetActiveLink);
  AddRow(*pageStyle, "Visited link color", cetVisitedLink);
  AddRow(*pageStyle, "Text color", cetText);
  AddRow(*pageStyle, "Background color", cetBackground);
  auto* backImage = new QHBoxLayout;
  backImage->addWidget(btnSelectBackImage);
  backImage->addWidget(btnClearBackImage);
  const int backImageRow = NextRow(*pageStyle);
  pageStyle->addWidget(NewLabel("Background image", btnSelectBackImage), backImageRow, 0);
  pageStyle->addLayout(backImage, backImageRow, 1);
  AddRow(*pageStyle, "Link size", cbxLinkSize);

  cetLightBorderColor = NewColorEdit("cetLightBorderColor");
  cetDarkBorderColor = NewColorEdit("cetDarkBorderColor");
  edtIconBorder = NewNumberEdit("edtIconBorder", 0, 1000, 4, 320);
  cbxTableColor = NewCheckBox("cbxTableColor", "Background color");
  cetTableColor = NewColorEdit("cetTableColor");
  auto* table = new QGridLayout;
  AddRow(*table, "Light border color", cetLightBorderColor);
  AddRow(*table, "Dark border color", cetDarkBorderColor);
  AddRow(*table, "Border width", edtIconBorder);
  AddRow(*table, cbxTableColor, cetTableColor);

  pbxStyleExample = new TPaintBox;
  pbxStyleExample->setObjectName("pbxStyleExample");
  pbxStyleExample->setFixedSize(kPreviewWidth, kPreviewHeight);
  pbxStyleExample->OnPaint = [this](QPainter& canvas) { pbxStyleExamplePaint(canvas); };
  auto* pnlPreview = new QFrame;
  pnlPreview->setObjectName("pnlPreview");
  pnlPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlPreview->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  auto* framed = new QVBoxLayout(pnlPreview);
  framed->setContentsMargins(2, 2, 2, 2);  // a border inside the frame
  framed->addWidget(pbxStyleExample);
  btnImportStyle = NewButton("btnImportStyle", "Import Style...", 340);
  btnSetDefaultStyle = NewButton("btnSetDefaultStyle", "Set Default Style", 350);
  auto* preview = new QVBoxLayout;
  preview->addWidget(pnlPreview);
  preview->addWidget(btnImportStyle);
  preview->addWidget(btnSetDefaultStyle);
  preview->addStretch();

  auto* settings = new QVBoxLayout;
  settings->addWidget(NewGroup(" Page ", pageStyle));
  settings->addWidget(NewGroup(" Thumbnails table ", table));
  settings->addStretch();
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(settings, 1);
  layout->addLayout(preview);
  ChainTabOrder({btnSelectBackImage, btnClearBackImage, cbxLinkSize, edtIconBorder, cbxTableColor,
                 btnImportStyle, btnSetDefaultStyle});
  return page;
}

// A size outside the list selects nothing, which is stored as -1.
void TfrmPublic::SelectLinkSize(int Value) {
  cbxLinkSize->setCurrentIndex(Value >= 0 && Value < cbxLinkSize->count() ? Value : -1);
}

void TfrmPublic::SetBackImageName(const std::string& Value) {
  backImageName_ = Value;
  backImageBitmap_.reset();
}

// Repaints the preview, then marks a change.
void TfrmPublic::cetLinkChange() {
  pbxStyleExample->update();
  MarkChange();
}

void TfrmPublic::pbxStyleExamplePaint(QPainter& canvas) {
  const int width = pbxStyleExample->width();
  const int height = pbxStyleExample->height();
  canvas.setBrush(ToQColor(cetBackground->Color()));
  SetBackgroundBrush(canvas);
  canvas.fillRect(QRect(0, 0, width, height), canvas.brush());
  const TColor fill = cbxTableColor->isChecked() ? cetTableColor->Color() : clNone;
  DrawStyleCell(canvas, fill, cetLightBorderColor->Color(), cetDarkBorderColor->Color(), width, height,
                edtIconBorder->Value(), edtCellsSpacing->Value());
  canvas.setBrush(Qt::NoBrush);
  QFont font("Arial", 12, QFont::Bold);
  canvas.setFont(font);
  DrawCenteredText(canvas, 10, width, "The text", cetText->Color());
  font.setPointSize(10);
  font.setUnderline(true);
  canvas.setFont(font);
  DrawCenteredText(canvas, 60, width, "Hyper Link", cetLink->Color());
  DrawCenteredText(canvas, 85, width, "Visited Link", cetVisitedLink->Color());
  DrawCenteredText(canvas, 110, width, "Active Link", cetActiveLink->Color());
}

// Tiles the background image when one is named. An image that cannot be read
// is dropped from the settings without a message; the background colour
// stays.
void TfrmPublic::SetBackgroundBrush(QPainter& canvas) {
  if (backImageName_.empty()) return;
  if (!backImageBitmap_) {
    const TBusyCursor busy;
    TBitmap image = LoadBackgroundImage(backImageName_);
    if (image.isNull()) {
      SetBackImageName("");
      return;
    }
    backImageBitmap_ = std::make_unique<TBitmap>(std::move(image));
  }
  canvas.setBrush(QBrush(*backImageBitmap_));
}

void TfrmPublic::btnSelectBackImageClick() {
  TFileDialogRequest request;
  request.Filter = kBackgroundImageFilter;
  request.FileName = backImageName_;
  request.PicturePreview = true;
  std::vector<std::string> files;
  if (!UserPrompt().OpenDialog(request, files)) return;
  SetBackImageName(files.front());
  cetLinkChange();
}

void TfrmPublic::btnClearBackImageClick() {
  SetBackImageName("");
  cetLinkChange();
}

// The default style of a new gallery; the cell padding and the other pages
// keep their values.
void TfrmPublic::btnSetDefaultStyleClick() {
  cbxLinkSize->setCurrentIndex(0);
  cetLink->SetColor(0xFF0000);
  cetActiveLink->SetColor(0x800080);
  cetVisitedLink->SetColor(0x800080);
  cetText->SetColor(0x000000);
  cetBackground->SetColor(0xFFFFFF);
  SetBackImageName("");
  cbxTableColor->setChecked(true);
  cetTableColor->SetColor(0xF5F5F5);
  cetLightBorderColor->SetColor(0xC0C0C0);
  cetDarkBorderColor->SetColor(0x808080);
  edtIconBorder->SetValue(0);
  edtCellsSpacing->SetValue(2);
  cetLinkChange();
}

// The style of another gallery file. A file that cannot be read raises the
// gallery's error before any control has changed.
void TfrmPublic::btnImportStyle1Click() {
  TFileDialogRequest request;
  request.Title = "Select the gallery for style import";
  request.Filter = kGalleryFilter;
  std::vector<std::string> files;
  if (!UserPrompt().OpenDialog(request, files)) return;
  TPicGallery style;
  style.LoadFromFile(files.front());
  cetLink->SetColor(style.LinkColor());
  cetActiveLink->SetColor(style.ActiveLinkColor());
  cetVisitedLink->SetColor(style.VisitedLinkColor());
  cetText->SetColor(style.TextColor());
  cetBackground->SetColor(style.BackgroundColor());
  SetBackImageName(style.BackgroundImage());
  cetLightBorderColor->SetColor(style.LightBorderColor());
  cetDarkBorderColor->SetColor(style.DarkBorderColor());
  edtIconBorder->SetValue(style.IconBorder());
  cbxTableColor->setChecked(style.IsTableColor());
  cetTableColor->SetColor(style.TableColor());
  SelectLinkSize(style.LinkSize());
  cetLinkChange();
}

}  // namespace tessalune

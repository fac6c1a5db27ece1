// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its controls, its start and end, and the document events.
#include "MainForm.h"

#include <algorithm>

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "ErrorDisplay.h"
#include "FileLib.h"
#include "FormKeeper.h"
#include "GalleryProp.h"
#include "ImageView.h"
#include "MainActions.h"
#include "MainSidePanel.h"
#include "PrjLib.h"

namespace tessalune {
namespace {

constexpr char kCaption[] = "Tessalune";
// The list and the side panel are never dragged narrower than this.
constexpr int kSplitterMinSize = 100;

// Qt reads "[*]" in a caption as the modified mark; a file name keeps it as
// written.
QString CaptionText(const std::string& text) {
  return QString::fromStdString(text).replace("[*]", "[*][*]");
}

}  // namespace

TfrmMain::TfrmMain(QWidget* Owner) : QMainWindow(Owner) {
  setObjectName("frmMain");
  setWindowTitle(kCaption);
  setMinimumSize(600, 400);
  CreateProject();
  NewGallery();
  CreateImageView();
  Actions_ = new TMainActions(*this);
  CreateControls();
  Actions_->CreateMenus(*menuBar());
  Actions_->CreateToolBar(*ToolBar);
  ConnectImageView();
  setGeometry(147, 144, 745, 527);
  FormKeeper_ = new TFormKeeper(this);
  FormKeeper_->Project = prjGallery;
  FormKeeper_->FormName = "frmMain";
  FormKeeper_->OnLoad = [this](TFormKeeper&, TRegistry& reg) { FormKeeperLoad(reg); };
  FormKeeper_->OnSave = [this](TFormKeeper&, TRegistry& reg) { FormKeeperSave(reg); };
  // A damaged setting is shown and the rest of the window comes up.
  Guarded([this] { FormKeeper_->Load(false); });
  FormCreate();
}

TfrmMain::~TfrmMain() { Guarded([this] { FormDestroy(); }); }

void TfrmMain::CreateProject() {
  prjGallery = new TProject(this);
  prjGallery->setObjectName("prjGallery");
  prjGallery->RegistryAddress.Root = hkeyCurrentUser;
  prjGallery->RegistryAddress.Path = "\\Software\\Quembler\\Tessalune";
  prjGallery->DefaultExt = "gmf";
  prjGallery->FileFilter = "Gallery Files|*.gmf|All Files|*.*";
  prjGallery->SaveAlert = "The gallery has been modified. Do you want to save the changes?";
  prjGallery->MaxListSize = 10;
  prjGallery->OnNew = [this](TProject&) { prjGalleryNew(); };
  prjGallery->OnOpen = [this](TProject&) { prjGalleryOpen(); };
  prjGallery->OnSave = [this](TProject&) { prjGallerySave(); };
  prjGallery->OnClose = [this](TProject&) { prjGalleryClose(); };
  prjGallery->OnChanged = [this](TProject&) { prjGalleryChanged(); };
  prjGallery->OnNameChanged = [this](TProject&) { prjGalleryNameChanged(); };
  prjGallery->OnProjectListAdd = [this](TProject&) { prjGalleryProjectListAdd(); };
}

void TfrmMain::CreateImageView() {
  ImageView_ = new TImageView(this);
  ImageView_->setObjectName("ImageView");
  ImageView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ImageView_->SetColor(palette().color(QPalette::Dark));
  ImageView_->SetIconWidth(50);
  ImageView_->SetIconHeight(50);
  ImageView_->setMinimumWidth(kSplitterMinSize);
}

void TfrmMain::ConnectImageView() {
  TImageView* list = ImageView_;
  connect(list, &TImageView::OnSelectItem, this, [this] { Guarded([this] { ImageViewSelectItem(); }); });
  // Directly, so that the handler can keep the key from the list.
  connect(list, &TImageView::OnKeyDown, this, [this](int& key, Qt::KeyboardModifiers shift) {
    Guarded([&] { Actions_->ImageViewKeyDown(key, shift); });
  }, Qt::DirectConnection);
  connect(list, &TImageView::OnDblClick, this, [this] { Guarded([this] { Actions_->ImageViewDblClick(); }); });
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { Actions_->pmnImages->popup(ImageView_->viewport()->mapToGlobal(at)); });
}

// The tool bar with a gap below it; the list, the splitter and the side
// panel; the status bar.
void TfrmMain::CreateControls() {
  ToolBar = addToolBar("ToolBar");
  ToolBar->setObjectName("ToolBar");
  ToolBar->setMovable(false);
  ToolBar->setFloatable(false);
  ToolBar->setIconSize(QSize(24, 24));
  ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);

  pnlPreview = new TPreviewPanel(this);
  connect(pnlPreview, &TPreviewPanel::DescriptionClick, this,
          [this] { Guarded([this] { Actions_->miEditCaptionClick(); }); });
  VertSplitter = new QSplitter(Qt::Horizontal, this);
  VertSplitter->setObjectName("VertSplitter");
  VertSplitter->setHandleWidth(3);
  VertSplitter->setChildrenCollapsible(false);
  VertSplitter->addWidget(ImageView_);
  VertSplitter->addWidget(pnlPreview);
  VertSplitter->setStretchFactor(0, 1);
  VertSplitter->setStretchFactor(1, 0);
  VertSplitter->installEventFilter(this);
  connect(VertSplitter, &QSplitter::splitterMoved, this, [this] { previewWidth_ = pnlPreview->width(); });
  SetPreviewWidth(227);

  auto* client = new QWidget(this);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->addWidget(VertSplitter);
  setCentralWidget(client);
  CreateStatusBar();
}

void TfrmMain::CreateStatusBar() {
  statusBar()->setObjectName("StatusBar");
  const std::array<int, 3> widths{250, 100, 50};
  for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
    StatusPanels[i] = new QLabel(statusBar());
    StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
    StatusPanels[i]->setTextFormat(Qt::PlainText);
    StatusPanels[i]->setMinimumWidth(widths[i]);
    statusBar()->addWidget(StatusPanels[i], i + 1 == StatusPanels.size() ? 1 : 0);
  }
}

// Runs once the window and its settings are made.
void TfrmMain::FormCreate() {
  Guarded([this] { prjGallery->FillProjectMenu(Actions_->miReopen); });
  ApplyViewSettings();
  setWindowTitle(kCaption);
  prjGalleryNew();
  UpdatePreviewPanel();
  UpdateImageProperties();
  UpdateImageDescription();
  UpdateActions();
}

// Answers the save prompt; a gallery that may close is closed at once, so
// that its file enters the reopen list.
void TfrmMain::closeEvent(QCloseEvent* event) {
  bool canClose = false;
  Guarded([&] {
    if (!prjGallery->CloseQuery()) return;
    prjGallery->Close();
    canClose = true;
  });
  if (canClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TfrmMain::FormDestroy() {
  FormKeeper_->Save();
  ImageView_->ClearImages();
  Gallery_.reset();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

// The side panel always leaves the list some room.
void TfrmMain::FormResize() {
  if (!FormKeeper_ || FormKeeper_->Loading()) return;
  if (width() - 105 < PreviewWidth()) SetPreviewWidth(width() - 110);
}

// The list takes whatever width the panel leaves. Dragging the splitter
// keeps the panel at least as wide as the splitter's least width, or as the
// panel was set when that is narrower.
void TfrmMain::SetPreviewWidth(int Value) {
  previewWidth_ = std::max(1, Value);
  pnlPreview->setMinimumWidth(std::min(kSplitterMinSize, previewWidth_));
  ApplyPreviewWidth();
}

// The splitter shares out its own width, which it has only once laid out;
// so the panel's width is set again whenever that changes.
void TfrmMain::ApplyPreviewWidth() {
  const int room = VertSplitter->width() - VertSplitter->handleWidth();
  VertSplitter->setSizes({room - previewWidth_, previewWidth_});
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == VertSplitter && event->type() == QEvent::Resize) ApplyPreviewWidth();
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::NewGallery() {
  Gallery_ = std::make_unique<TPicGallery>();
  Gallery_->Clear();
}

void TfrmMain::UpdateActions() {
  Actions_->UpdateActions();
  pnlPreview->SetDescriptionLink(ImageView_->SelCount() == 1);
}

void TfrmMain::SyncImageView() {
  for (int i = ImageView_->Count(); i < Gallery_->GetImageCount(); ++i)
    ImageView_->AddImageFile(Gallery_->GetImageFile(i));
  ImageView_->SortByGalleryOrder();
}

std::int64_t TfrmMain::TotalImagesSize() const {
  std::int64_t total = 0;
  for (int i = 0; i < ImageView_->Count(); ++i) total += FileSizeOf(ImageView_->GetImageFileAt(i)->FileName);
  return total;
}

QString TfrmMain::StatusText(int Panel) const { return StatusPanels.at(std::size_t(Panel))->text(); }

void TfrmMain::prjGalleryNew() { NewGallery(); }

void TfrmMain::prjGalleryOpen() {
  const TImageViewUpdate update(*ImageView_);
  NewGallery();
  try {
    Gallery_->LoadFromFile(prjGallery->FileName());
  } catch (...) {
    NewGallery();  // nothing read from a damaged file stays behind
    throw;
  }
  SyncImageView();
}

void TfrmMain::prjGallerySave() { Gallery_->SaveToFile(prjGallery->FileName()); }

void TfrmMain::prjGalleryClose() { ImageView_->ClearImages(); }

void TfrmMain::prjGalleryChanged() {
  StatusPanels[0]->setText(QString("%1 picture(s)").arg(ImageView_->Count()));
  StatusPanels[1]->setText(QString::fromStdString(FormatFileSize(TotalImagesSize())));
  StatusPanels[2]->setText(prjGallery->Modified() ? "Modified" : "");
  UpdateActions();
}

void TfrmMain::prjGalleryNameChanged() {
  std::string caption = kCaption;
  if (!prjGallery->FileName().empty()) caption += " - " + prjGallery->FileName();
  setWindowTitle(CaptionText(caption));
}

void TfrmMain::prjGalleryProjectListAdd() { prjGallery->FillProjectMenu(Actions_->miReopen); }

}  // namespace tessalune

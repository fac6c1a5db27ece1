// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands as actions, menus and tool buttons, and their
// enabled state.
#include "MainActions.h"

#include <QAction>
#include <QActionGroup>
#include <QFont>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

#include "ErrorDisplay.h"
#include "ImageView.h"
#include "MainForm.h"
#include "PathDialog.h"
#include "PrjLib.h"

namespace tessalune {
namespace {

QIcon ToolIcon(const char* name) { return QIcon(QString(":/icons/%1.svg").arg(name)); }

// A tool bar button for action, named and with its own tool tip and picture.
void AddToolButton(QToolBar& bar, QAction* action, const char* name, const QString& hint, const char* icon) {
  action->setIcon(ToolIcon(icon));
  action->setToolTip(hint);
  bar.addAction(action);
  bar.widgetForAction(action)->setObjectName(name);
}

// A tool button of its own: a picture, a tool tip, a click.
QToolButton* NewToolButton(QToolBar& bar, const char* name, const QString& hint, const char* icon) {
  auto* button = new QToolButton(&bar);
  button->setObjectName(name);
  button->setIcon(ToolIcon(icon));
  button->setToolTip(hint);
  bar.addWidget(button);
  return button;
}

}  // namespace

TMainActions::TMainActions(TfrmMain& Owner) : QObject(&Owner), Form(Owner) {
  pdgAddFolder = new TPathDialog(&Form);
  pdgAddFolder->setObjectName("pdgAddFolder");
  pdgAddFolder->RootItem = TRootItem::riDesktop;
  CreateActions();
  CreateViewItems();
  CreatePopupMenu();
  auto* help = new QShortcut(QKeySequence::HelpContents, &Form);
  help->setObjectName("HelpKey");
  connect(help, &QShortcut::activated, this, [this] { Guarded([this] { HelpKey(); }); });
}

QAction* TMainActions::NewAction(const char* name, const QString& caption, void (TMainActions::*handler)()) {
  auto* action = new QAction(caption, &Form);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  return action;
}

// The captions are the menu's: the tool bar shows pictures and tool tips only.
void TMainActions::CreateActions() {
  acnNew = NewAction("acnNew", "New", &TMainActions::acnNewExecute);
  acnOpen = NewAction("acnOpen", "Open...", &TMainActions::acnOpenExecute);
  acnOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  acnSave = NewAction("acnSave", "Save", &TMainActions::acnSaveExecute);
  acnSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  acnSaveAs = NewAction("acnSaveAs", "Save As...", &TMainActions::acnSaveAsExecute);
  acnImport = NewAction("acnImport", "Import...", &TMainActions::acnImportExecute);
  acnExit = NewAction("acnExit", "Exit", &TMainActions::acnExitExecute);
  acnAddFolder = NewAction("acnAddFolder", "Add Folder...", &TMainActions::acnAddFolderExecute);
  acnAddFiles = NewAction("acnAddFiles", "Add Images...", &TMainActions::acnAddFilesExecute);
  acnDelete = NewAction("acnDelete", "Delete", &TMainActions::acnDeleteExecute);
  acnMoveTop = NewAction("acnMoveTop", "Move Top", &TMainActions::acnMoveTopExecute);
  acnMoveUp = NewAction("acnMoveUp", "Move Up", &TMainActions::acnMoveUpExecute);
  acnMoveDown = NewAction("acnMoveDown", "Move Down", &TMainActions::acnMoveDownExecute);
  acnMoveBottom = NewAction("acnMoveBottom", "Move Bottom", &TMainActions::acnMoveBottomExecute);
  acnGroupUp = NewAction("acnGroupUp", "Group Up", &TMainActions::acnGroupUpExecute);
  acnGroupDown = NewAction("acnGroupDown", "Group Down", &TMainActions::acnGroupDownExecute);
  acnSortBy = NewAction("acnSortBy", "Sort By...", &TMainActions::acnSortByExecute);
  acnSelectAll = NewAction("acnSelectAll", "Select All", &TMainActions::acnSelectAllExecute);
  acnSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  acnInvertSelection = NewAction("acnInvertSelection", "Invert Selection", &TMainActions::acnInvertSelectionExecute);
  acnPublish = NewAction("acnPublish", "Publish...", &TMainActions::acnPublishExecute);
  acnGalleryOptions = NewAction("acnGalleryOptions", "Options...", &TMainActions::acnGalleryOptionsExecute);
  // The program settings have no effect, so their command is never offered.
  acnOptions = NewAction("acnOptions", "Settings...", &TMainActions::acnOptionsExecute);
  acnOptions->setVisible(false);
  miRenameImages = NewAction("miRenameImages", "Rename Images...", &TMainActions::miRenameImagesClick);
  miContent = NewAction("miContent", "&Help Topics", &TMainActions::miContentClick);
  miHowtoUploadGallery =
      NewAction("miHowtoUploadGallery", "How to upload on server", &TMainActions::miHowtoUploadGalleryClick);
  miAbout = NewAction("miAbout", "&About", &TMainActions::miAboutClick);
}

void TMainActions::CreateViewItems() {
  miImagePreview = NewAction("miImagePreview", "Image Preview", &TMainActions::miImagePreviewClick);
  miImageProperties = NewAction("miImageProperties", "Image Properties", &TMainActions::miImagePropertiesClick);
  miImageDescription = NewAction("miImageDescription", "Image Description", &TMainActions::miImageDescriptionClick);
  for (QAction* item : {miImagePreview, miImageProperties, miImageDescription}) {
    item->setCheckable(true);
    item->setChecked(true);
  }
  miListView = NewAction("miListView", "List", &TMainActions::miListViewClick);
  miTableView = NewAction("miTableView", "Thumbnails", &TMainActions::miTableViewClick);
  auto* views = new QActionGroup(this);
  for (QAction* item : {miListView, miTableView}) {
    item->setCheckable(true);
    views->addAction(item);
  }
  miTableView->setChecked(true);
  miIconSize50x50 = NewAction("miIconSize50x50", "50 x 50", &TMainActions::miIconSize50x50Click);
  miIconSize75x75 = NewAction("miIconSize75x75", "75 x 75", &TMainActions::miIconSize75x75Click);
  miIconSize100x100 = NewAction("miIconSize100x100", "100 x 100", &TMainActions::miIconSize100x100Click);
  auto* sizes = new QActionGroup(this);
  for (QAction* item : {miIconSize50x50, miIconSize75x75, miIconSize100x100}) {
    item->setCheckable(true);
    sizes->addAction(item);
  }
}

// An item of the pop-up menu that runs action: its own caption, the action's
// shortcut, and shown enabled exactly while action is. (A pop-up menu fires
// no shortcuts: the key stays the action's alone.)
QAction* TMainActions::PopupItem(QAction* action, const char* name, const QString& caption) {
  auto* item = new QAction(caption, pmnImages);
  item->setObjectName(name);
  item->setShortcut(action->shortcut());
  connect(item, &QAction::triggered, action, &QAction::trigger);
  connect(action, &QAction::changed, item, [item, action] { item->setEnabled(action->isEnabled()); });
  item->setEnabled(action->isEnabled());
  pmnImages->addAction(item);
  return item;
}

// F2 edits the description while the picture list has the focus.
void TMainActions::CreatePopupMenu() {
  pmnImages = new QMenu(&Form);
  pmnImages->setObjectName("pmnImages");
  miEditCaption = NewAction("miEditCaption", "Edit Description", &TMainActions::miEditCaptionClick);
  miEditCaption->setShortcut(QKeySequence(Qt::Key_F2));
  miEditCaption->setShortcutContext(Qt::WidgetShortcut);
  Form.ImageView().addAction(miEditCaption);
  pmnImages->addAction(miEditCaption);
  pmnImages->setDefaultAction(miEditCaption);
  // The menu makes room for an item's text in the item's own font (the
  // menu's, here made bold).
  QFont bold;
  bold.setBold(true);
  miEditCaption->setFont(bold);
  pmnImages->addSeparator();
  PopupItem(acnAddFolder, "AddFolder1", "Add Folder");
  PopupItem(acnAddFiles, "AddFiles1", "Add Images");
  pmnImages->addSeparator();
  mipDelete = PopupItem(acnDelete, "mipDelete", "Delete");
  pmnImages->addSeparator();
  PopupItem(acnSelectAll, "SelectAll1", "Select All");
  connect(pmnImages, &QMenu::aboutToShow, this, [this] { Guarded([this] { pmnImagesPopup(); }); });
}

void TMainActions::CreateMenus(QMenuBar& MainMenu) {
  CreateFileMenu(MainMenu);
  CreateEditMenu(MainMenu);
  CreateViewMenu(MainMenu);
  CreateToolsMenu(MainMenu);
  CreateHelpMenu(MainMenu);
}

void TMainActions::CreateFileMenu(QMenuBar& MainMenu) {
  QMenu* file = MainMenu.addMenu("&File");
  file->addActions({acnNew, acnOpen});
  file->addSeparator();
  miReopen = file->addMenu("Reopen");
  miReopen->setObjectName("miReopen");
  file->addSeparator();
  file->addActions({acnSave, acnSaveAs});
  file->addSeparator();
  file->addAction(acnImport);
  file->addSeparator();
  file->addAction(acnExit);
}

void TMainActions::CreateEditMenu(QMenuBar& MainMenu) {
  QMenu* edit = MainMenu.addMenu("&Edit");
  edit->addActions({acnAddFolder, acnAddFiles});
  edit->addSeparator();
  edit->addAction(acnDelete);
  edit->addSeparator();
  edit->addActions({acnMoveTop, acnMoveUp, acnMoveDown, acnMoveBottom, acnGroupUp, acnGroupDown, acnSortBy});
  edit->addSeparator();
  edit->addActions({acnSelectAll, acnInvertSelection});
}

void TMainActions::CreateViewMenu(QMenuBar& MainMenu) {
  QMenu* view = MainMenu.addMenu("&View");
  view->addActions({miImagePreview, miImageProperties, miImageDescription});
  view->addSeparator();
  view->addActions({miListView, miTableView});
  view->addSeparator();
  miIconSize = view->addMenu("Thumbnails Size");
  miIconSize->setObjectName("miIconSize");
  miIconSize->addActions({miIconSize50x50, miIconSize75x75, miIconSize100x100});
  connect(miIconSize, &QMenu::aboutToShow, this, [this] { Guarded([this] { miIconSizeClick(); }); });
}

void TMainActions::CreateToolsMenu(QMenuBar& MainMenu) {
  QMenu* tools = MainMenu.addMenu("&Tools");
  tools->addAction(acnPublish);
  tools->addSeparator();
  tools->addActions({acnGalleryOptions, acnOptions});
  tools->addSeparator();
  tools->addAction(miRenameImages);
}

void TMainActions::CreateHelpMenu(QMenuBar& MainMenu) {
  QMenu* help = MainMenu.addMenu("&Help");
  help->addActions({miContent, miHowtoUploadGallery});
  help->addSeparator();
  help->addAction(miAbout);
}

// Open is a button of its own, always enabled, whose arrow shows the reopen
// list; Save's button alone follows the modified state.
void TMainActions::CreateToolBar(QToolBar& ToolBar) {
  AddToolButton(ToolBar, acnNew, "tbnNew", "New", "new");
  tbnOpen = NewToolButton(ToolBar, "tbnOpen", "Open", "open");
  tbnOpen->setPopupMode(QToolButton::MenuButtonPopup);
  tbnOpen->setMenu(miReopen);
  connect(tbnOpen, &QToolButton::clicked, this, [this] { Guarded([this] { acnOpenExecute(); }); });
  tbnSave = NewToolButton(ToolBar, "tbnSave", "Save", "save");
  connect(tbnSave, &QToolButton::clicked, acnSave, &QAction::trigger);
  ToolBar.addSeparator();
  AddToolButton(ToolBar, acnAddFolder, "tbnAddFolder", "Add all images from folder", "add-folder");
  AddToolButton(ToolBar, acnAddFiles, "tbnAddFiles", "Add images", "add-images");
  ToolBar.addSeparator();
  AddToolButton(ToolBar, acnGalleryOptions, "tbnGalleryOptions", "Options", "options");
  AddToolButton(ToolBar, acnPublish, "tbnPublish", "Publish", "publish");
  ToolBar.addSeparator();
  AddToolButton(ToolBar, acnMoveTop, "tbnMoveTop", "Move Top", "move-top");
  AddToolButton(ToolBar, acnMoveUp, "tbnMoveUp", "Move Up (Ctrl+Alt+Arrow Up)", "move-up");
  AddToolButton(ToolBar, acnMoveDown, "tbnMoveDown", "Move Down (Ctrl+Alt+Arrow Down)", "move-down");
  AddToolButton(ToolBar, acnMoveBottom, "tbnMoveBottom", "Move Bottom", "move-bottom");
  AddToolButton(ToolBar, acnGroupUp, "tbnGroupUp", "Group Up", "group-up");
  AddToolButton(ToolBar, acnGroupDown, "tbnGroupDown", "Group Down", "group-down");
  acnOpen->setIcon(ToolIcon("open"));
  acnSave->setIcon(ToolIcon("save"));
}

void TMainActions::UpdateActions() {
  const TImageView& list = Form.ImageView();
  const int count = list.Count();
  const int selected = list.SelCount();
  if (tbnSave) tbnSave->setEnabled(Form.Project().Modified());
  acnPublish->setEnabled(count > 0);
  for (QAction* move : {acnMoveTop, acnMoveUp, acnMoveDown, acnMoveBottom, acnDelete}) move->setEnabled(selected > 0);
  acnGroupUp->setEnabled(selected > 1);
  acnGroupDown->setEnabled(selected > 1);
  for (QAction* all : {acnSelectAll, acnInvertSelection, acnSortBy, miRenameImages}) all->setEnabled(count > 0);
}

void TMainActions::pmnImagesPopup() {
  const bool selected = Form.ImageView().SelCount() > 0;
  miEditCaption->setVisible(selected);
  mipDelete->setVisible(selected);
}

// Ctrl+Alt+Up and Down move the selection and still move the list's cursor;
// Delete, with any modifier, is the list's no more.
void TMainActions::ImageViewKeyDown(int& Key, Qt::KeyboardModifiers Shift) {
  if (Shift == (Qt::ControlModifier | Qt::AltModifier)) {
    if (Key == Qt::Key_Up) acnMoveUpExecute();
    if (Key == Qt::Key_Down) acnMoveDownExecute();
  }
  if (Key == Qt::Key_Delete) {
    Key = 0;
    acnDeleteExecute();
  }
}

void TMainActions::ImageViewDblClick() { miEditCaptionClick(); }

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;

namespace tessalune {

class TfrmMain;
class TImageView;
class TPathDialog;

// Every command of the main window: one QAction each, the main menu, the
// picture list's pop-up menu, the tool bar, the list's keys and double-click,
// the enabled state of all of them (UpdateActions) and their handlers. The
// handlers of the gallery commands are in MainCommands.cpp, those of the View
// menu in MainViewSettings.cpp. Each handler runs inside Guarded.
class TMainActions : public QObject {
  Q_OBJECT

public:
  explicit TMainActions(TfrmMain& Owner);

  // Fills the window's menu bar and tool bar.
  void CreateMenus(QMenuBar& MainMenu);
  void CreateToolBar(QToolBar& ToolBar);

  // The enabled state of the commands that depend on the list and the
  // document; every other command is always enabled.
  void UpdateActions();

  // File.
  QAction* acnNew = nullptr;
  QAction* acnOpen = nullptr;
  QAction* acnSave = nullptr;
  QAction* acnSaveAs = nullptr;
  QAction* acnImport = nullptr;
  QAction* acnExit = nullptr;
  // Edit.
  QAction* acnAddFolder = nullptr;
  QAction* acnAddFiles = nullptr;
  QAction* acnDelete = nullptr;
  QAction* acnMoveTop = nullptr;
  QAction* acnMoveUp = nullptr;
  QAction* acnMoveDown = nullptr;
  QAction* acnMoveBottom = nullptr;
  QAction* acnGroupUp = nullptr;
  QAction* acnGroupDown = nullptr;
  QAction* acnSortBy = nullptr;
  QAction* acnSelectAll = nullptr;
  QAction* acnInvertSelection = nullptr;
  // Service.
  QAction* acnPublish = nullptr;
  QAction* acnGalleryOptions = nullptr;
  QAction* acnOptions = nullptr;
  // Menu items of their own.
  QMenu* miReopen = nullptr;
  QAction* miImagePreview = nullptr;
  QAction* miImageProperties = nullptr;
  QAction* miImageDescription = nullptr;
  QAction* miListView = nullptr;
  QAction* miTableView = nullptr;
  QMenu* miIconSize = nullptr;
  QAction* miIconSize50x50 = nullptr;
  QAction* miIconSize75x75 = nullptr;
  QAction* miIconSize100x100 = nullptr;
  QAction* miRenameImages = nullptr;
  QAction* miContent = nullptr;
  QAction* miHowtoUploadGallery = nullptr;
  QAction* miAbout = nullptr;
  // The pop-up menu of the picture list.
  QMenu* pmnImages = nullptr;
  QAction* miEditCaption = nullptr;
  QAction* mipDelete = nullptr;
  // The tool buttons that no action stands for alone.
  QToolButton* tbnOpen = nullptr;
  QToolButton* tbnSave = nullptr;

  // The gallery commands (MainCommands.cpp).
  void acnNewExecute();
  void acnOpenExecute();
  void acnSaveExecute();
  void acnSaveAsExecute();
  void acnImportExecute();
  void acnExitExecute();
  void acnAddFolderExecute();
  void acnAddFilesExecute();
  void acnDeleteExecute();
  void acnMoveTopExecute();
  void acnMoveUpExecute();
  void acnMoveDownExecute();
  void acnMoveBottomExecute();
  void acnGroupUpExecute();
  void acnGroupDownExecute();
  void acnSortByExecute();
  void acnSelectAllExecute();
  void acnInvertSelectionExecute();
  void acnPublishExecute();
  void acnGalleryOptionsExecute();
  void acnOptionsExecute();
  void miRenameImagesClick();
  void miEditCaptionClick();
  void miContentClick();
  void miHowtoUploadGalleryClick();
  void miAboutClick();
  // The picture list: its pop-up menu, keys and double-click.
  void pmnImagesPopup();
  void ImageViewKeyDown(int& Key, Qt::KeyboardModifiers Shift);
  void ImageViewDblClick();
  // F1 in the window: the window's help topic.
  void HelpKey();

  // The View menu (MainViewSettings.cpp).
  void miImagePreviewClick();
  void miImagePropertiesClick();
  void miImageDescriptionClick();
  void miListViewClick();
  void miTableViewClick();
  void miIconSizeClick();
  void miIconSize50x50Click();
  void miIconSize75x75Click();
  void miIconSize100x100Click();

private:
  QAction* NewAction(const char* name, const QString& caption, void (TMainActions::*handler)());
  QAction* PopupItem(QAction* action, const char* name, const QString& caption);
  void CreateActions();
  void CreateViewItems();
  void CreatePopupMenu();
  void CreateFileMenu(QMenuBar& MainMenu);
  void CreateEditMenu(QMenuBar& MainMenu);
  void CreateViewMenu(QMenuBar& MainMenu);
  void CreateToolsMenu(QMenuBar& MainMenu);
  void CreateHelpMenu(QMenuBar& MainMenu);
  // Runs edit, then marks the document modified when the gallery's checksum
  // changed.
  void ByCheckSum(const std::function<void()>& edit);
  void MarkModified();
  // Puts the pictures of files into the gallery and the list.
  void AddPictures(const std::vector<std::string>& files);
  // Runs a move or grouping of the list's selection.
  void ReorderSelection(void (TImageView::*reorder)());

  TfrmMain& Form;
  TPathDialog* pdgAddFolder = nullptr;
};

}  // namespace tessalune

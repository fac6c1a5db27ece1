// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QDialog>

#include "Bitmap.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tessalune {

class TColorEdit;
class TNaturalEdit;
class TPaintBox;
class TPathDialog;
class TPicGallery;
class TPicIcon;
class TfrmProgress;

// Opens the publishing dialog modally on gallery and edits its settings in
// place. In options mode (publishMode false) OK stores every setting and
// closes, and the result is true. In publish mode the OK button reads
// "Publish": each press checks the settings, stores them and publishes, and
// the dialog stays open; the result is then always false. In both modes Apply
// stores at once, and Cancel or Close end without storing what changed since.
// The caller compares TPicGallery::GetCheckSum before and after. The dialog
// is centred over owner (the active window when none is given).
bool ShowPublishDialog(bool publishMode, TPicGallery& gallery, QWidget* owner = nullptr);

// The publishing dialog: every publishing setting of one gallery on six
// pages, the template list with its screenshot, the page style with its
// preview, and the publish run with its checks, the progress window and the
// browser. Controls carry their form names as object names.
class TfrmPublic : public QDialog {
  Q_OBJECT

public:
  // The pages, in the order of their tabs.
  enum TPage { pgGeneral, pgPageLayout, pgPageStyle, pgFullSizeImages, pgDescription, pgNavigation };

  explicit TfrmPublic(QWidget* Owner = nullptr);
  ~TfrmPublic() override;

  // The gallery whose settings are edited (not owned); set before anything
  // is loaded.
  void SetGallery(TPicGallery& Value) { Gallery = &Value; }
  bool PublishMode() const { return publishMode_; }
  void SetPublishMode(bool Value);
  void ShowPage(TPage page);

  // Every setting into its control; Apply and Reset end disabled.
  void LoadFromGallery();
  // Every control into its setting; Apply and Reset end disabled.
  void SaveToGallery();
  // Enables and shows the controls that depend on the check boxes.
  void UpdateControls();
  // The template folders' names, sorted.
  void FillTemplateList();

  // The output folder text that last passed the output-folder check.
  const std::string& LastOutputFolder() const { return lastOutputFolder_; }
  // The page background image; every change drops the loaded picture.
  const std::string& BackImageName() const { return backImageName_; }
  void SetBackImageName(const std::string& Value);
  // The background image as the preview last loaded it; null when none.
  const TBitmap* BackImageBitmap() const { return backImageBitmap_.get(); }

private:
  struct TSettingLink {
    std::function<void(const TPicGallery&)> Load;
    std::function<void(TPicGallery&)> Save;
  };

  // Form (PublicDlg.cpp).
  void CreateButtons(QGridLayout& layout);
  void CreatePageShortcuts();
  void TurnPage(int step);
  void ConnectHandlers();
  template <class Sender, class Signal>
  void Handle(Sender* sender, Signal signal, void (TfrmPublic::*handler)());
  void MarkChange();
  void edtOutFolderChange();
  void cbxCopyImagesClick();
  void cbxCellWidthClick();
  void cbxThHomeLinkClick();
  void cbxTemplatesChange();
  void btnApplyClick();
  void btnResetClick();
  void btnBrowseOutFolderClick();
  void btnEditClick();
  void btnRefreshClick();
  void SelectTemplate(const std::string& name);
  void ShowScreenShot();

  // Pages (PublicDlgPages.cpp).
  QWidget* CreateGeneralPage();
  QWidget* CreatePageLayoutPage();
  QWidget* CreateFullSizeImagesPage();
  QWidget* CreateDescriptionPage();
  QWidget* CreateNavigationPage();

  // Style page (PublicDlgStyle.cpp).
  QWidget* CreatePageStylePage();
  void cetLinkChange();
  void pbxStyleExamplePaint(QPainter& canvas);
  void SetBackgroundBrush(QPainter& canvas);
  void SelectLinkSize(int Value);
  void btnSelectBackImageClick();
  void btnClearBackImageClick();
  void btnSetDefaultStyleClick();
  void btnImportStyle1Click();

  // Settings (PublicDlgSettings.cpp).
  void LinkSettings();

  // Publishing (PublicDlgPublish.cpp).
  void btnOkClick();
  bool RefuseOnGeneralPage(QWidget& control, const std::string& message);
  bool CheckSubFolderName(QLineEdit& edit, const std::string& optionName);
  bool CheckSubFolders();
  bool CheckThumbnailsApart();
  bool CheckOutputFolder();
  bool CheckTemplate();
  void PublishGallery();
  bool FinishProgress();
  void PublishProgress(const std::string& Msg, int Percent, bool& Cancel);

  std::unique_ptr<TfrmProgress> ProgressForm;
  TPicGallery* Gallery = nullptr;
  std::unique_ptr<TPicIcon> ScreenShotIcon;
  bool publishMode_ = false;
  std::string backImageName_;
  std::unique_ptr<TBitmap> backImageBitmap_;
  std::string lastOutputFolder_;
  std::vector<TSettingLink> settingLinks_;
  TPathDialog* pdgOutFolder;

  QTabWidget* PageControl;
  QPushButton* btnReset;
  QPushButton* btnOk;
  QPushButton* btnCancel;
  QPushButton* btnApply;

  // General.
  QLineEdit* edtOutFolder;
  QPushButton* btnBrowseOutFolder;
  QLineEdit* edtIconsFolder;
  QLineEdit* edtPagesFolder;
  QLineEdit* edtImagesFolder;
  QLineEdit* edtIconPrefix;
  QLineEdit* edtFirstPageName;
  QRadioButton* rbnNotOverrideFiles;
  QRadioButton* rbnOverrideFiles;
  QCheckBox* cbxLaunch;

  // Page Layout.
  QComboBox* cbxTemplates;
  QPushButton* btnEdit;
  QPushButton* btnRefresh;
  QLabel* imgTemplateScreenShot;
  TNaturalEdit* edtIconWidth;
  TNaturalEdit* edtIconHeight;
  TNaturalEdit* edtIconQuality;
  TNaturalEdit* edtColCount;
  TNaturalEdit* edtRowCount;
  TNaturalEdit* edtCellsPadding;
  TNaturalEdit* edtCellsSpacing;
  QCheckBox* cbxCellWidth;
  TNaturalEdit* edtCellWidth;
  QCheckBox* cbxCellHeigth;
  TNaturalEdit* edtCellHeight;

  // Page Style.
  TColorEdit* cetLink;
  TColorEdit* cetActiveLink;
  TColorEdit* cetVisitedLink;
  TColorEdit* cetText;
  TColorEdit* cetBackground;
  QPushButton* btnSelectBackImage;
  QPushButton* btnClearBackImage;
  QComboBox* cbxLinkSize;
  TColorEdit* cetLightBorderColor;
  TColorEdit* cetDarkBorderColor;
  TNaturalEdit* edtIconBorder;
  QCheckBox* cbxTableColor;
  TColorEdit* cetTableColor;
  TPaintBox* pbxStyleExample;
  QPushButton* btnImportStyle;
  QPushButton* btnSetDefaultStyle;

  // Full-size Images.
  QCheckBox* cbxImageResize;
  QCheckBox* cbxConvertImages;
  QCheckBox* cbxCreateImagePages;
  QGroupBox* gbxImageSettings;
  QLabel* lblImageQuality;
  TNaturalEdit* edtImageQuality;
  QLabel* lblImageWidth;
  TNaturalEdit* edtImageWidth;
  QLabel* lblImageHeight;
  TNaturalEdit* edtImageHeight;

  // Description.
  QLineEdit* edtTitle;
  QLineEdit* edtCaption;
  QCheckBox* cbxShowIconCaption;
  QCheckBox* cbxShowImageCaption;
  QCheckBox* cbxHideBanner;

  // Navigation.
  QCheckBox* cbxThHomeLink;
  QLineEdit* edtThHomeLink;
  QLineEdit* edtThHomeLinkAddress;
  QCheckBox* cbxThPrevLink;
  QLineEdit* edtThPrevLink;
  QCheckBox* cbxThPageLink;
  QLineEdit* edtThPageLink;
  QCheckBox* cbxThNextLink;
  QLineEdit* edtThNextLink;
  QCheckBox* cbxImHomeLink;
  QLineEdit* edtImHomeLink;
  QLineEdit* edtImHomeLinkAddress;
  QCheckBox* cbxImPrevLink;
  QLineEdit* edtImPrevLink;
  QCheckBox* cbxImThumbLink;
  QLineEdit* edtImThumbLink;
  QCheckBox* cbxImNextLink;
  QLineEdit* edtImNextLink;
};

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
// Which control of the publishing dialog shows and stores which setting of
// the gallery.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "EditLib.h"
#include "GalleryProp.h"
#include "PublicDlg.h"

namespace tessalune {
namespace {

using TTextGetter = const std::string& (TPicGallery::*)() const;
using TTextSetter = void (TPicGallery::*)(const std::string&);
using TNumberGetter = std::int32_t (TPicGallery::*)() const;
using TNumberSetter = void (TPicGallery::*)(std::int32_t);
using TFlagGetter = bool (TPicGallery::*)() const;
using TFlagSetter = void (TPicGallery::*)(bool);

template <class Link>
Link TextLink(QLineEdit* edit, TTextGetter get, TTextSetter set) {
  return {[=](const TPicGallery& g) { edit->setText(QString::fromStdString((g.*get)())); },
          [=](TPicGallery& g) { (g.*set)(edit->text().toStdString()); }};
}

// Shown as decimal text, whatever the bounds; read back clamped to them.
template <class Link>
Link NumberLink(TNaturalEdit* edit, TNumberGetter get, TNumberSetter set) {
  return {[=](const TPicGallery& g) { edit->SetValue((g.*get)()); },
          [=](TPicGallery& g) { (g.*set)(edit->Value()); }};
}

template <class Link>
Link ColorLink(TColorEdit* box, TNumberGetter get, TNumberSetter set) {
  return {[=](const TPicGallery& g) { box->SetColor((g.*get)()); },
          [=](TPicGallery& g) { (g.*set)(box->Color()); }};
}

template <class Link>
Link FlagLink(QCheckBox* box, TFlagGetter get, TFlagSetter set) {
  return {[=](const TPicGallery& g) { box->setChecked((g.*get)()); },
          [=](TPicGallery& g) { (g.*set)(box->isChecked()); }};
}

}  // namespace

// The getter and the setter of a setting; the setters of the five folder and
// file names trim their text.
#define SETTING(Name) &TPicGallery::Name, &TPicGallery::Set##Name

// In the order of the pages' tables. The template, chosen from the list of
// template folders, is loaded by LoadFromGallery itself.
void TfrmPublic::LinkSettings() {
  using L = TSettingLink;
  settingLinks_ = {
      TextLink<L>(edtOutFolder, SETTING(OutputFolder)),
      TextLink<L>(edtIconsFolder, SETTING(IconsFolder)),
      TextLink<L>(edtPagesFolder, SETTING(PagesFolder)),
      TextLink<L>(edtImagesFolder, SETTING(ImagesFolder)),
      TextLink<L>(edtIconPrefix, SETTING(IconPrefix)),
      TextLink<L>(edtFirstPageName, SETTING(FirstPageName)),
      {[this](const TPicGallery& g) {
         rbnNotOverrideFiles->setChecked(!g.OverrideFiles());
         rbnOverrideFiles->setChecked(g.OverrideFiles());
       },
       [this](TPicGallery& g) { g.SetOverrideFiles(rbnOverrideFiles->isChecked()); }},
      FlagLink<L>(cbxLaunch, SETTING(LaunchBrouser)),
      {nullptr, [this](TPicGallery& g) { g.SetTemplate(cbxTemplates->currentText().toStdString()); }},
      NumberLink<L>(edtIconWidth, SETTING(IconWidth)),
      NumberLink<L>(edtIconHeight, SETTING(IconHeight)),
      NumberLink<L>(edtIconQuality, SETTING(IconQuality)),
      NumberLink<L>(edtColCount, SETTING(ColCount)),
      NumberLink<L>(edtRowCount, SETTING(RowCount)),
      NumberLink<L>(edtCellsPadding, SETTING(CellsPadding)),
      NumberLink<L>(edtCellsSpacing, SETTING(CellsSpacing)),
      FlagLink<L>(cbxCellWidth, SETTING(IsCellWidth)),
      NumberLink<L>(edtCellWidth, SETTING(ColSpacing)),
      FlagLink<L>(cbxCellHeigth, SETTING(IsCellHeight)),
      NumberLink<L>(edtCellHeight, SETTING(RowSpacing)),

      ColorLink<L>(cetLink, SETTING(LinkColor)),
      ColorLink<L>(cetActiveLink, SETTING(ActiveLinkColor)),
      ColorLink<L>(cetVisitedLink, SETTING(VisitedLinkColor)),
      ColorLink<L>(cetText, SETTING(TextColor)),
      ColorLink<L>(cetBackground, SETTING(BackgroundColor)),
      {[this](const TPicGallery& g) { SetBackImageName(g.BackgroundImage()); },
       [this](TPicGallery& g) { g.SetBackgroundImage(backImageName_); }},
      {[this](const TPicGallery& g) { SelectLinkSize(g.LinkSize()); },
       [this](TPicGallery& g) { g.SetLinkSize(cbxLinkSize->currentIndex()); }},
      ColorLink<L>(cetLightBorderColor, SETTING(LightBorderColor)),
      ColorLink<L>(cetDarkBorderColor, SETTING(DarkBorderColor)),
      NumberLink<L>(edtIconBorder, SETTING(IconBorder)),
      FlagLink<L>(cbxTableColor, SETTING(IsTableColor)),
      ColorLink<L>(cetTableColor, SETTING(TableColor)),

      FlagLink<L>(cbxImageResize, SETTING(ImageResize)),
      FlagLink<L>(cbxConvertImages, SETTING(IsConvertImages)),
      FlagLink<L>(cbxCreateImagePages, SETTING(IsCreateImagePages)),
      NumberLink<L>(edtImageQuality, SETTING(ImageQuality)),
      NumberLink<L>(edtImageWidth, SETTING(ImageWidth)),
      NumberLink<L>(edtImageHeight, SETTING(ImageHeight)),

      TextLink<L>(edtTitle, SETTING(Title)),
      TextLink<L>(edtCaption, SETTING(Caption)),
      FlagLink<L>(cbxShowIconCaption, SETTING(ShowIconCaption)),
      FlagLink<L>(cbxShowImageCaption, SETTING(ShowImageCaption)),
      FlagLink<L>(cbxHideBanner, SETTING(HideBanner)),

      FlagLink<L>(cbxThHomeLink, SETTING(IsThHomeLink)),
      TextLink<L>(edtThHomeLink, SETTING(ThHomeLink)),
      TextLink<L>(edtThHomeLinkAddress, SETTING(ThHomeLinkAddr)),
      FlagLink<L>(cbxThPrevLink, SETTING(IsThPrevLink)),
      TextLink<L>(edtThPrevLink, SETTING(ThPrevLink)),
      FlagLink<L>(cbxThPageLink, SETTING(ShowPageLink)),
      TextLink<L>(edtThPageLink, SETTING(BetweenPageLink)),
      FlagLink<L>(cbxThNextLink, SETTING(IsThNextLink)),
      TextLink<L>(edtThNextLink, SETTING(ThNextLink)),
      FlagLink<L>(cbxImHomeLink, SETTING(IsImHomeLink)),
      TextLink<L>(edtImHomeLink, SETTING(ImHomeLink)),
      TextLink<L>(edtImHomeLinkAddress, SETTING(ImHomeLinkAddr)),
      FlagLink<L>(cbxImPrevLink, SETTING(IsImPrevLink)),
      TextLink<L>(edtImPrevLink, SETTING(ImPrevLink)),
      FlagLink<L>(cbxImThumbLink, SETTING(IsImThumbLink)),
      TextLink<L>(edtImThumbLink, SETTING(ImThumbLink)),
      FlagLink<L>(cbxImNextLink, SETTING(IsImNextLink)),
      TextLink<L>(edtImNextLink, SETTING(ImNextLink)),
  };
}

#undef SETTING

// A check box whose state changes runs its handler, as a click does; the
// template list is built anew, and the screenshot follows the selection.
void TfrmPublic::LoadFromGallery() {
  for (const TSettingLink& link : settingLinks_)
    if (link.Load) link.Load(*Gallery);
  FillTemplateList();
  SelectTemplate(Gallery->Template());
  cbxTemplatesChange();
  btnApply->setEnabled(false);
  btnReset->setEnabled(false);
}

void TfrmPublic::SaveToGallery() {
  for (const TSettingLink& link : settingLinks_) link.Save(*Gallery);
  btnApply->setEnabled(false);
  btnReset->setEnabled(false);
}

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
// The pages of the publishing dialog other than the page style: their
// controls in the order that Tab follows, with captions, bounds and help.
#include <algorithm>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "EditLib.h"
#include "HelpTopics.h"
#include "PublicDlg.h"
#include "PublicDlgControls.h"

namespace tessalune {
namespace {

// A page of groups and controls stacked from the top.
QWidget* NewPage(std::initializer_list<QWidget*> parts) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  for (QWidget* part : parts) layout->addWidget(part);
  layout->addStretch();
  return page;
}

// One link of the Navigation page: its check box, its text under the label
// and, for a home link, its address. The controls are made here, named
// after the members that receive them.
struct TLinkRow {
  QCheckBox*& Box;
  const char* BoxName;
  const char* Caption;
  QLineEdit*& Text;
  const char* TextName;
  const char* Label;
  QLineEdit** Address = nullptr;
};

// A member and its name.
#define NAMED(member) member, #member

// The rows of one group of links; the text column and the address column
// take the room.
QGridLayout* NewLinkGrid(std::initializer_list<TLinkRow> links) {
  auto* grid = new QGridLayout;
  for (const TLinkRow& link : links) {
    const int row = NextRow(*grid);
    link.Box = NewCheckBox(link.BoxName, link.Caption);
    link.Text = NewEdit(link.TextName);
    grid->addWidget(link.Box, row, 0);
    grid->addWidget(NewLabel(link.Label, link.Text), row, 1);
    grid->addWidget(link.Text, row, 2);
    if (!link.Address) continue;
    *link.Address = NewEdit((std::string(link.TextName) + "Address").c_str());
    grid->addWidget(NewLabel("Address", *link.Address), row, 3);
    grid->addWidget(*link.Address, row, 4);
  }
  grid->setColumnStretch(2, 1);
  grid->setColumnStretch(4, 1);
  return grid;
}

// The widest control of a column of grid. (The layout counts controls that
// have no window yet as hidden and empty, so they are asked themselves.)
int ColumnWidth(const QGridLayout& grid, int column) {
  int width = 0;
  for (int row = 0; row < grid.rowCount(); ++row)
    if (QLayoutItem* item = grid.itemAtPosition(row, column); item && item->widget())
      width = std::max(width, item->widget()->sizeHint().width());
  return width;
}

}  // namespace

QWidget* TfrmPublic::CreateGeneralPage() {
  edtOutFolder = NewEdit("edtOutFolder", 50);
  btnBrowseOutFolder = NewButton("btnBrowseOutFolder", "Browse");
  edtIconsFolder = NewEdit("edtIconsFolder", 60);
  edtPagesFolder = NewEdit("edtPagesFolder", 80);
  edtImagesFolder = NewEdit("edtImagesFolder", 90);
  edtIconPrefix = NewEdit("edtIconPrefix", 70);
  edtFirstPageName = NewEdit("edtFirstPageName");
  auto* destination = new QGridLayout;
  AddRow(*destination, "Output folder", edtOutFolder, btnBrowseOutFolder);
  AddRow(*destination, "Thumbnails sub-folder", edtIconsFolder);
  AddRow(*destination, "HTML page sub-folder", edtPagesFolder);
  AddRow(*destination, "Full-size images sub-folder", edtImagesFolder);
  AddRow(*destination, "Thumbnails prefix", edtIconPrefix);
  AddRow(*destination, "Name of first page", edtFirstPageName);
  destination->setColumnStretch(1, 1);

  rbnNotOverrideFiles = NewRadioButton(
      "rbnNotOverrideFiles", "Use the existing thumbnails and images, to speed up republishing");
  rbnOverrideFiles = NewRadioButton(
      "rbnOverrideFiles",
      "Overwrite the existing thumbnails and images, to make sure that actual settings will be used");
  auto* overwrite = new QVBoxLayout;
  overwrite->addWidget(rbnNotOverrideFiles);
  overwrite->addWidget(rbnOverrideFiles);
  cbxLaunch = NewCheckBox("cbxLaunch", "Launch the web browser to view output", 160);

  QWidget* page = NewPage({NewGroup(" Output destination ", destination),
                           NewGroup(" Overwrite settings for files in output folder ", overwrite),
                           cbxLaunch});
  ChainTabOrder({edtOutFolder, btnBrowseOutFolder, edtIconsFolder, edtPagesFolder, edtImagesFolder,
                 edtIconPrefix, edtFirstPageName, rbnNotOverrideFiles, rbnOverrideFiles, cbxLaunch});
  return page;
}

QWidget* TfrmPublic::CreatePageLayoutPage() {
  cbxTemplates = new QComboBox;
  cbxTemplates->setObjectName("cbxTemplates");
  SetHelpContext(*cbxTemplates, 170);
  // As wide as the screenshot below it, however long a template's name.
  cbxTemplates->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  btnEdit = NewButton("btnEdit", "Edit", 180);
  btnRefresh = NewButton("btnRefresh", "Refresh", 190);
  imgTemplateScreenShot = new QLabel;
  imgTemplateScreenShot->setObjectName("imgTemplateScreenShot");
  imgTemplateScreenShot->setFixedSize(150, 273);
  imgTemplateScreenShot->setAlignment(Qt::AlignCenter);
  auto* templateButtons = new QHBoxLayout;
  templateButtons->addWidget(btnEdit);
  templateButtons->addWidget(btnRefresh);
  auto* templates = new QVBoxLayout;
  templates->addWidget(NewLabel("Template", cbxTemplates));
  templates->addWidget(cbxTemplates);
  templates->addLayout(templateButtons);
  templates->addWidget(imgTemplateScreenShot, 0, Qt::AlignHCenter);
  templates->addStretch();

  edtIconWidth = NewNumberEdit("edtIconWidth", 10, 999, 3, 200);
  edtIconHeight = NewNumberEdit("edtIconHeight", 10, 999, 3, 210);
  edtIconQuality = NewNumberEdit("edtIconQuality", 1, 100, 3, 220);
  auto* thumbnails = new QGridLayout;
  AddRow(*thumbnails, "Width", edtIconWidth);
  AddRow(*thumbnails, "Height", edtIconHeight);
  AddRow(*thumbnails, "Quality", edtIconQuality);
  thumbnails->setColumnStretch(2, 1);

  edtColCount = NewNumberEdit("edtColCount", 1, 32000, 5, 230);
  edtRowCount = NewNumberEdit("edtRowCount", 1, 32000, 5, 240);
  edtCellsPadding = NewNumberEdit("edtCellsPadding", 0, 999, 3, 335);
  edtCellsSpacing = NewNumberEdit("edtCellsSpacing", 0, 40, 2, 330);
  cbxCellWidth = NewCheckBox("cbxCellWidth", "Cell width");
  edtCellWidth = NewNumberEdit("edtCellWidth", 10, 999, 3, 280);
  cbxCellHeigth = NewCheckBox("cbxCellHeigth", "Cell height");
  edtCellHeight = NewNumberEdit("edtCellHeight", 10, 999, 3, 290);
  auto* table = new QGridLayout;
  AddRow(*table, "Columns", edtColCount);
  AddRow(*table, "Rows", edtRowCount);
  AddRow(*table, "Cell padding", edtCellsPadding);
  AddRow(*table, "Cell spacing", edtCellsSpacing);
  AddRow(*table, cbxCellWidth, edtCellWidth);
  AddRow(*table, cbxCellHeigth, edtCellHeight);
  table->setColumnStretch(2, 1);

  auto* settings = new QVBoxLayout;
  settings->addWidget(NewGroup(" Thumbnails ", thumbnails));
  settings->addWidget(NewGroup(" Thumbnails table ", table));
  settings->addStretch();
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(templates);
  layout->addLayout(settings, 1);
  ChainTabOrder({cbxTemplates, btnEdit, btnRefresh, edtIconWidth, edtIconHeight, edtIconQuality,
                 edtColCount, edtRowCount, edtCellsPadding, edtCellsSpacing, cbxCellWidth, edtCellWidth,
                 cbxCellHeigth, edtCellHeight});
  return page;
}

QWidget* TfrmPublic::CreateFullSizeImagesPage() {
  cbxImageResize = NewCheckBox("cbxImageResize", "Resize the full-size images");
  cbxConvertImages = NewCheckBox("cbxConvertImages", "Convert the full-size images to JPEG", 110);
  cbxCreateImagePages =
      NewCheckBox("cbxCreateImagePages", "Create the HTML pages for each full-size image", 130);
  auto* options = new QVBoxLayout;
  options->addWidget(cbxImageResize);
  options->addWidget(cbxConvertImages);
  options->addWidget(cbxCreateImagePages);

  edtImageQuality = NewNumberEdit("edtImageQuality", 1, 100, 3, 120);
  edtImageWidth = NewNumberEdit("edtImageWidth", 10, 90000, 5);
  edtImageHeight = NewNumberEdit("edtImageHeight", 10, 90000, 5);
  lblImageQuality = NewLabel("JPEG Quality", edtImageQuality, "lblImageQuality");
  lblImageWidth = NewLabel("Width, not more than ", edtImageWidth, "lblImageWidth");
  lblImageHeight = NewLabel("Height, not more than", edtImageHeight, "lblImageHeight");
  auto* image = new QGridLayout;
  AddRow(*image, lblImageQuality, edtImageQuality);
  AddRow(*image, lblImageWidth, edtImageWidth);
  AddRow(*image, lblImageHeight, edtImageHeight);
  gbxImageSettings = NewGroup(" Image settings ", image, "gbxImageSettings");

  QWidget* page = NewPage({NewGroup(" Full-size image options ", options), gbxImageSettings});
  ChainTabOrder({cbxImageResize, cbxConvertImages, cbxCreateImagePages, edtImageQuality, edtImageWidth,
                 edtImageHeight});
  return page;
}

QWidget* TfrmPublic::CreateDescriptionPage() {
  edtTitle = NewEdit("edtTitle", 250);
  edtCaption = NewEdit("edtCaption", 260);
  // Both texts take the page's width.
  auto* texts = new QGridLayout;
  AddWideRow(*texts, "Title", edtTitle);
  AddWideRow(*texts, "Caption", edtCaption);
  texts->setColumnStretch(1, 1);
  auto* textsBox = new QWidget;
  textsBox->setLayout(texts);
  texts->setContentsMargins(0, 0, 0, 0);
  cbxShowIconCaption =
      NewCheckBox("cbxShowIconCaption", "Display the image description on thumbnail pages");
  cbxShowImageCaption =
      NewCheckBox("cbxShowImageCaption", "Display the image description on full-size image pages");
  cbxHideBanner = NewCheckBox("cbxHideBanner", "Hide 'Created by' line");

  QWidget* page = NewPage({textsBox, cbxShowIconCaption, cbxShowImageCaption, cbxHideBanner});
  ChainTabOrder({edtTitle, edtCaption, cbxShowIconCaption, cbxShowImageCaption, cbxHideBanner});
  return page;
}

QWidget* TfrmPublic::CreateNavigationPage() {
  QGridLayout* thumbnailLinks = NewLinkGrid({
      {NAMED(cbxThHomeLink), "Home", NAMED(edtThHomeLink), "Text", &edtThHomeLinkAddress},
      {NAMED(cbxThPrevLink), "Prev", NAMED(edtThPrevLink), "Text"},
      {NAMED(cbxThPageLink), "Page numbers", NAMED(edtThPageLink), "Delimiter"},
      {NAMED(cbxThNextLink), "Next", NAMED(edtThNextLink), "Text"},
  });
  QGridLayout* imageLinks = NewLinkGrid({
      {NAMED(cbxImHomeLink), "Home", NAMED(edtImHomeLink), "Text", &edtImHomeLinkAddress},
      {NAMED(cbxImPrevLink), "Prev", NAMED(edtImPrevLink), "Text"},
      {NAMED(cbxImThumbLink), "Thumbnails", NAMED(edtImThumbLink), "Text"},
      {NAMED(cbxImNextLink), "Next", NAMED(edtImNextLink), "Text"},
  });
  // The check boxes and labels of both groups line up.
  for (const int column : {0, 1}) {
    const int width = std::max(ColumnWidth(*thumbnailLinks, column), ColumnWidth(*imageLinks, column));
    thumbnailLinks->setColumnMinimumWidth(column, width);
    imageLinks->setColumnMinimumWidth(column, width);
  }
  QWidget* page = NewPage({NewGroup(" Thumbnail page links ", thumbnailLinks),
                           NewGroup(" Full-size image page links ", imageLinks)});
  ChainTabOrder({cbxThHomeLink, edtThHomeLink, edtThHomeLinkAddress, cbxThPrevLink, edtThPrevLink,
                 cbxThPageLink, edtThPageLink, cbxThNextLink, edtThNextLink, cbxImHomeLink, edtImHomeLink,
                 edtImHomeLinkAddress, cbxImPrevLink, edtImPrevLink, cbxImThumbLink, edtImThumbLink,
                 cbxImNextLink, edtImNextLink});
  return page;
}

#undef NAMED

}  // namespace tessalune

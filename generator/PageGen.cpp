// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageGen.h"

#include <algorithm>
#include <filesystem>

#include "FileLib.h"
#include "GalleryProp.h"
#include "Globals.h"
#include "PicIcon.h"
#include "RenderAhead.h"
#include "ShellLib.h"

namespace tessalune {
namespace {

std::string TableStyle(const TPicGallery& g) {
  std::string style = Format(" cellspacing=\"%d\" cellpadding=\"%d\" border=\"%d\"",
                             g.CellsSpacing(), g.CellsPadding(), g.IconBorder());
  if (g.IconBorder() > 0) {
    style += Format(" bordercolorlight=\"%s\" bordercolordark=\"%s\" ",
                    ColorToHtml(g.LightBorderColor()).c_str(),
                    ColorToHtml(g.DarkBorderColor()).c_str());
  }
  return style;
}

std::string CellStyle(const TPicGallery& g) {
  std::string style = " ";
  if (g.IsTableColor()) {
    style += "bgcolor=\"" + ColorToHtml(g.TableColor()) + "\" ";
  }
  if (g.IsCellWidth()) {
    style += Format(" width=\"%d\" ", g.ColSpacing());
  }
  if (g.IsCellHeight()) {
    style += Format(" height=\"%d\" ", g.RowSpacing());
  }
  return style;
}

std::string LinkSizeStyle(int linkSize) {
  switch (linkSize) {
    case 1:
      return " font-size: 110%; font-weight: bold; ";
    case 2:
      return " font-size: 120%; font-weight: bold; ";
    default:
      return "";
  }
}

}  // namespace

std::string OutputPathOf(const TPicGallery& gallery) {
  return AddBackslash(ExpandHomeFolder(gallery.OutputFolder()));
}

std::string FirstPagePathOf(const TPicGallery& gallery) {
  const std::string& pages = gallery.PagesFolder();
  return OutputPathOf(gallery) + (pages.empty() ? "" : AddBackslash(pages)) + gallery.FirstPageName();
}

TPageGenerator::TPageGenerator() : iconMaker_(std::make_unique<TPicIcon>()) {}

TPageGenerator::~TPageGenerator() = default;

void TPageGenerator::Publish(TPicGallery& gallery) {
  gallery_ = &gallery;
  Prepare();
  CreateFolders();
  noThumbnails_ = IsNoThumbnails();
  try {
    RunSteps();
  } catch (const ERunInterrupt&) {
    // A stop asked at a report: the files written so far stay.
  }
}

std::vector<std::string> TPageGenerator::UnreadablePictures(TUnreadableAs kind) const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < unreadable_.size(); ++i) {
    const std::string& name = PictureFileName(int(i));
    if (unreadable_[i] == kind && std::find(names.begin(), names.end(), name) == names.end())
      names.push_back(name);
  }
  return names;
}

void TPageGenerator::RunSteps() {
  WritePictures();
  CopyTemplateFiles();
  CreatePages();
  if (gallery_->IsCreateImagePages() && !noThumbnails_) {
    CreateImagePages();
  }
  if (isFrameset_) {
    CreateFrameset();
  }
}

void TPageGenerator::Prepare() {
  templateFolder_ = TemplatesRoot() + "/" + gallery_->Template();
  std::error_code unreadable;  // a folder that cannot be looked into has no frameset
  isFrameset_ = std::filesystem::is_regular_file(templateFolder_ + "/frameset.html", unreadable);
  const long long perPage = PicturesPerPage();
  pageCount_ = int((ImageCount() + perPage - 1) / perPage);
  unreadable_.assign(std::size_t(ImageCount()), std::nullopt);

  std::vector<std::string> untouchable;
  for (int i = 0; i < ImageCount(); ++i) {
    untouchable.push_back(PictureFileName(i));
  }
  untouchable.push_back(gallery_->BackgroundImage());
  for (const std::string& file : TFileFolder(templateFolder_, fkFiles)) {
    untouchable.push_back(file);
  }
  guard_.Reset(OutputPath(), untouchable);

  pageTemplate_.Properties().Clear();
  SetCommonProperties();
}

void TPageGenerator::SetCommonProperties() {
  const TPicGallery& g = *gallery_;
  SetValue("caption", g.Caption());
  SetValue("first_page", PathToUrl(GetPageName(1)));
  SetValue("last_page", PathToUrl(GetPageName(pageCount_)));
  SetValue("col_spacing", std::to_string(g.ColSpacing()));
  SetValue("row_spacing", std::to_string(g.RowSpacing()));
  SetValue("table_style", TableStyle(g));
  SetValue("cell_style", CellStyle(g));
  SetValue("link_color", ColorToHtml(g.LinkColor()));
  SetValue("alink_color", ColorToHtml(g.ActiveLinkColor()));
  SetValue("vlink_color", ColorToHtml(g.VisitedLinkColor()));
  SetValue("text_color", ColorToHtml(g.TextColor()));
  SetValue("bgcolor", ColorToHtml(g.BackgroundColor()));
  SetValue("bgimage", PathToUrl(FileNamePart(g.BackgroundImage())));
  SetValue("link_style", g.PageLinkStyle());
  SetValue("link_size", LinkSizeStyle(g.LinkSize()));
}

void TPageGenerator::CreateFolders() const {
  if (gallery_->OutputFolder().empty()) {
    throw Exception("Unable to create directory");
  }
  std::error_code ignored;
  std::filesystem::create_directories(ExpandHomeFolder(gallery_->OutputFolder()), ignored);
  for (const std::string& folder :
       {gallery_->ImagesFolder(), gallery_->IconsFolder(), gallery_->PagesFolder()}) {
    if (!folder.empty() && guard_.IsInside(SubFolderPath(folder))) {
      std::filesystem::create_directories(SubFolderPath(folder), ignored);
    }
  }
}

bool TPageGenerator::IsNoThumbnails() const {
  return ReadFileBytes(templateFolder_ + "/page.html").find("<!--no_thumbnails-->") !=
         std::string::npos;
}

void TPageGenerator::DoProgress(const std::string& msg, int index, int total) {
  if (!OnProgress) {
    return;
  }
  bool cancel = false;
  OnProgress(*this, msg, int(static_cast<long long>(index) * 100 / total), cancel);
  if (cancel) {
    throw ERunInterrupt();
  }
}

void TPageGenerator::SetValue(const std::string& name, const std::string& value) {
  pageTemplate_.Properties().SetValue(name, value);
}

std::string TPageGenerator::OutputPath() const { return OutputPathOf(*gallery_); }

std::string TPageGenerator::SubFolderPath(const std::string& folder) const {
  return folder.empty() ? OutputPath() : OutputPath() + AddBackslash(folder);
}

int TPageGenerator::ImageCount() const { return gallery_->GetImageCount(); }

const std::string& TPageGenerator::PictureFileName(int index) const {
  return gallery_->GetImageFile(index)->FileName;
}

// A grid of fewer than one row or column (possible only in a hand-edited
// gallery file) counts as one, so that the page count stays defined.
int TPageGenerator::RowCount() const { return std::max(gallery_->RowCount(), 1); }

int TPageGenerator::ColCount() const { return std::max(gallery_->ColCount(), 1); }

long long TPageGenerator::PicturesPerPage() const {
  return static_cast<long long>(RowCount()) * ColCount();
}

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
// The page steps of a publish: thumbnail pages, picture pages, the frameset,
// and the names and links they carry.
#include "AsciiText.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "PageGen.h"

namespace tessalune {
namespace {

// A link to a published page, given by its file name.
std::string Link(const std::string& page, const std::string& text) {
  return "<a href=\"" + PathToUrl(page) + "\">" + text + "</a>";
}

// The relative link from the pages folder to a sub-folder of the output.
std::string FolderPrefix(const std::string& up, const std::string& folder) {
  return folder.empty() ? up : up + AddSlash(folder);
}

}  // namespace

std::string TPageGenerator::GetThumbnailName(const std::string& name) const {
  return gallery_->IconPrefix() + ChangeFileExt(FileNamePart(name), ".jpg");
}

std::string TPageGenerator::GetPageName(int n) const {
  if (n == 1 && !isFrameset_) {
    return gallery_->FirstPageName();
  }
  return "page_" + std::to_string(n) + ".html";
}

std::string TPageGenerator::GetPrevPageName(int n) const {
  return GetPageName(n > 1 ? n - 1 : pageCount_);
}

std::string TPageGenerator::GetNextPageName(int n) const {
  return GetPageName(n < pageCount_ ? n + 1 : 1);
}

std::string TPageGenerator::GetImagePageName(int i) {
  return "image_" + std::to_string(i + 1) + ".html";
}

std::string TPageGenerator::GetPrevImagePageName(int i) const {
  return GetImagePageName(i > 0 ? i - 1 : ImageCount() - 1);
}

std::string TPageGenerator::GetNextImagePageName(int i) const {
  return GetImagePageName(i < ImageCount() - 1 ? i + 1 : 0);
}

std::string TPageGenerator::MakeTitle(const std::string& title, const std::string& kind, int number,
                                      int count) {
  return title + (Trim(title).empty() ? "" : " - ") + kind + " " + std::to_string(number) + " of " +
         std::to_string(count);
}

std::string TPageGenerator::GetPageLinks(int current) const {
  const TPicGallery& g = *gallery_;
  if (!g.ShowPageLink()) {
    return "";
  }
  const std::string separator = g.BetweenPageLink().empty() ? " " : g.BetweenPageLink();
  const std::string style =
      Trim(g.PageLinkStyle()).empty() ? "" : "style=\"" + g.PageLinkStyle() + "\"";
  std::string bar;
  for (int k = 1; k <= pageCount_; ++k) {
    const std::string label = g.BeforePageLink() + std::to_string(k) + g.AfterPageLink();
    if (k != current) {
      bar += "<a " + style + " href=\"" + PathToUrl(GetPageName(k)) + "\">" + label + "</a>";
    } else {
      bar += style.empty() ? label : "<span " + style + ">" + label + "</span>";
    }
    if (k < pageCount_) {
      bar += separator;
    }
  }
  return bar;
}

std::string TPageGenerator::UpPrefix() const {
  return gallery_->PagesFolder().empty() ? "" : "../";
}

std::string TPageGenerator::ImageLinkPrefix() const {
  return FolderPrefix(UpPrefix(), gallery_->ImagesFolder());
}

std::string TPageGenerator::IconLinkPrefix() const {
  return FolderPrefix(UpPrefix(), gallery_->IconsFolder());
}

std::string TPageGenerator::WorkName(int index) const {
  return FileNamePart(gallery_->GetImageFile(index)->WorkFileName);
}

void TPageGenerator::SetHomeLink(bool show, const std::string& address, const std::string& text) {
  std::string link;
  if (show) {
    link = (isFrameset_ ? "<a target=\"_top\" " : "<a ") + ("href=\"" + address + "\">") + text +
           "</a>";
  }
  SetValue("home_link", link);
}

void TPageGenerator::CreatePages() {
  LoadTemplate("page.html");
  SetHomeLink(gallery_->IsThHomeLink(), gallery_->ThHomeLinkAddr(), gallery_->ThHomeLink());
  for (int n = 1; n <= pageCount_; ++n) {
    CreatePage(n);
    DoProgress("Creating pages", n, pageCount_);
  }
}

void TPageGenerator::CreatePage(int n) {
  const TPicGallery& g = *gallery_;
  pageTemplate_.Clear();
  SetValue("title", NameToHtml(MakeTitle(g.Title(), "Page", n, pageCount_)));
  SetValue("page_index", std::to_string(n));
  SetValue("page_count", std::to_string(pageCount_));
  SetValue("prev_page", PathToUrl(GetPrevPageName(n)));
  SetValue("prev_link", g.IsThPrevLink() && n != 1 ? Link(GetPrevPageName(n), g.ThPrevLink()) : "");
  SetValue("next_page", PathToUrl(GetNextPageName(n)));
  SetValue("next_link",
           g.IsThNextLink() && n != pageCount_ ? Link(GetNextPageName(n), g.ThNextLink()) : "");
  SetValue("pages", pageCount_ < 2 ? "" : GetPageLinks(n));
  pageTemplate_.AddSection(tsHead);

  long long index = (n - 1) * PicturesPerPage();
  for (int row = 0; row < RowCount() && index < ImageCount(); ++row) {
    pageTemplate_.AddSection(tsRowStart);
    for (int col = 0; col < ColCount() && index < ImageCount(); ++col) {
      SetCellProperties(int(index));
      pageTemplate_.AddSection(tsCell);
      ++index;
    }
    pageTemplate_.AddSection(tsRowEnd);
  }
  pageTemplate_.AddSection(tsTail);
  SavePage(GetPageName(n), !g.HideBanner());
}

void TPageGenerator::SetCellProperties(int index) {
  const TImageFile& picture = *gallery_->GetImageFile(index);
  const std::string name = WorkName(index);
  const std::string href = PathToUrl(gallery_->IsCreateImagePages() && !noThumbnails_
                                         ? GetImagePageName(index)
                                         : ImageLinkPrefix() + name);
  SetValue("image_href", href);
  if (index == 0) {
    SetValue("first_image", href);
  }
  SetValue("th_href", PathToUrl(IconLinkPrefix() + GetThumbnailName(name)));
  SetValue("image_filename", NameToHtml(name));
  SetValue("image_caption",
           gallery_->ShowIconCaption() ? "<br>" + TextToHtml(picture.Caption) : "");
  SetValue("image_size", FormatFileSize(FileSizeOf(picture.WorkFileName)));
}

void TPageGenerator::CreateImagePages() {
  LoadTemplate("image.html");
  SetHomeLink(gallery_->IsImHomeLink(), gallery_->ImHomeLinkAddr(), gallery_->ImHomeLink());
  for (int i = 0; i < ImageCount(); ++i) {
    CreateImagePage(i);
    DoProgress("Creating image pages", i, ImageCount());
  }
}

void TPageGenerator::CreateImagePage(int index) {
  const TPicGallery& g = *gallery_;
  const TImageFile& picture = *g.GetImageFile(index);
  const int count = ImageCount();
  const int thumbnailPage = int(index / PicturesPerPage()) + 1;
  pageTemplate_.Clear();
  SetValue("title", NameToHtml(MakeTitle(g.Title(), "Image", index + 1, count)));
  SetValue("image_index", std::to_string(index + 1));
  SetValue("image_count", std::to_string(count));
  SetValue("image_filename", NameToHtml(WorkName(index)));
  SetValue("image_caption", g.ShowImageCaption() ? TextToHtml(picture.Caption) : "");
  SetValue("prev_image", PathToUrl(GetPrevImagePageName(index)));
  SetValue("prev_link",
           g.IsImPrevLink() && index != 0 ? Link(GetPrevImagePageName(index), g.ImPrevLink()) : "");
  SetValue("next_image", PathToUrl(GetNextImagePageName(index)));
  SetValue("next_link", g.IsImNextLink() && index != count - 1
                            ? Link(GetNextImagePageName(index), g.ImNextLink())
                            : "");
  SetValue("image_href", PathToUrl(ImageLinkPrefix() + WorkName(index)));
  SetValue("th_page", PathToUrl(GetPageName(thumbnailPage)));
  SetValue("thumb_link",
           g.IsImThumbLink() ? Link(GetPageName(thumbnailPage), g.ImThumbLink()) : "");
  pageTemplate_.AddSection(tsHead);
  SavePage(GetImagePageName(index), !g.HideBanner());
}

void TPageGenerator::CreateFrameset() {
  SetValue("title", NameToHtml(gallery_->Title()));
  LoadTemplate("frameset.html");
  pageTemplate_.Clear();
  pageTemplate_.AddSection(tsHead);
  SavePage(gallery_->FirstPageName(), false);
}

void TPageGenerator::LoadTemplate(const std::string& name) {
  pageTemplate_.LoadFromFile(templateFolder_ + "/" + name);
}

// Pages are written only inside the output folder and never over a file the
// run reads from.
void TPageGenerator::SavePage(const std::string& name, bool withBanner) {
  const std::string target = SubFolderPath(gallery_->PagesFolder()) + name;
  if (!guard_.MayWrite(target)) {
    throw EFCreateError(Format("Cannot create file %s", target.c_str()));
  }
  pageTemplate_.SaveToFile(target, withBanner);
}

}  // namespace tessalune

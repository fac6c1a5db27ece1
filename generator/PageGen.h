// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Errors.h"
#include "HtmlText.h"
#include "PageTmpl.h"
#include "WriteGuard.h"

namespace tessalune {

class TPicGallery;
class TPicIcon;
class TRenderAhead;
struct TRenderSize;
struct TRenderedFile;

// Ends a publish that the progress handler stopped. It never leaves
// TPageGenerator::Publish.
class ERunInterrupt : public Exception {
public:
  ERunInterrupt() : Exception("") {}
};

class TPageGenerator;

// What went out for a picture that could not be read: the error mark as its
// thumbnail or converted picture, or, where its copy found no file to read,
// a link to a file that is not there (its thumbnail, if any, is the error
// mark too).
enum class TUnreadableAs { ErrorMark, BrokenLink };

// The folder a gallery is published into, ending in "/"; an output folder
// starting with "~/" lies in the home folder.
std::string OutputPathOf(const TPicGallery& gallery);
// The published gallery's first page, as its settings name it.
std::string FirstPagePathOf(const TPicGallery& gallery);

// The progress handler: the reporting generator, the text of the current
// step and the progress in percent. Cancel is false on entry; setting it
// stops the run.
using TPublishProgressEvent =
    std::function<void(TPageGenerator& sender, const std::string& msg, int percent, bool& cancel)>;

// Publishes one gallery into its output folder from a page template:
// thumbnails, converted or copied pictures, the template's own files,
// thumbnail pages, picture pages and the frameset page, reporting at every
// file. No file is written outside the output folder (a symbolic link in it
// to a file elsewhere gives way to the published file), and none of the
// gallery's pictures, its background image or the template's files is ever
// written to.
class TPageGenerator {
public:
  TPageGenerator();
  ~TPageGenerator();
  TPageGenerator(const TPageGenerator&) = delete;
  TPageGenerator& operator=(const TPageGenerator&) = delete;

  // Runs the whole pipeline. Returns normally after a complete run and after
  // a run that the handler stopped; every other failure is an exception, and
  // the files written before it stay.
  void Publish(TPicGallery& gallery);

  TPublishProgressEvent OnProgress;
  // How many threads load and scale pictures: 0 for one per core. With 1,
  // the calling thread does it all, in the order of the steps.
  unsigned Threads = 0;

  // What the last run worked out (valid from the start of a run on).
  const std::string& TemplateFolder() const { return templateFolder_; }
  bool IsFrameset() const { return isFrameset_; }
  bool NoThumbnails() const { return noThumbnails_; }
  int PageCount() const { return pageCount_; }
  // The pictures of the last run that could not be read and went out as
  // kind says, by their file names, in gallery order and each once. A
  // stopped run names those handled before the stop.
  std::vector<std::string> UnreadablePictures(TUnreadableAs kind) const;

  // The published file names, from the gallery of the last run.
  std::string GetThumbnailName(const std::string& name) const;
  std::string GetPageName(int n) const;
  std::string GetPrevPageName(int n) const;
  std::string GetNextPageName(int n) const;
  static std::string GetImagePageName(int i);
  std::string GetPrevImagePageName(int i) const;
  std::string GetNextImagePageName(int i) const;

  // The bar of numbered page links for the page `current`.
  std::string GetPageLinks(int current) const;

  // "<title> - <kind> <number> of <count>", without the " - " when the title
  // is blank.
  static std::string MakeTitle(const std::string& title, const std::string& kind, int number,
                               int count);

private:
  void Prepare();
  void SetCommonProperties();
  void CreateFolders() const;
  bool IsNoThumbnails() const;
  void RunSteps();

  // Files (PageGenFiles.cpp).
  void WritePictures();
  std::vector<bool> LoadableAhead() const;
  void StartRenderAhead();
  void CreateThumbnails();
  void CopyImages();
  std::string ConvertImage(int index, const std::string& dest);
  void CopyTemplateFiles();
  void WriteThumbnail(int index, const std::string& target);
  void WriteImage(int index, const std::string& target);
  TRenderedFile Render(int index, const TRenderSize& size);
  void WriteRendered(int index, const std::string& target, const TRenderedFile& file);
  bool CopyOneFile(const std::string& source, const std::string& dest) const;
  TRenderSize ThumbnailSize() const;
  TRenderSize ImageSize() const;
  std::string ThumbnailTarget(int index) const;
  std::string ImageTarget(int index) const;
  bool IsInImagesFolder(int index) const;
  bool IsConverting() const;
  bool NeedsWrite(const std::string& target) const;

  // Pages (PageGenPages.cpp).
  void CreatePages();
  void CreatePage(int n);
  void SetCellProperties(int index);
  void CreateImagePages();
  void CreateImagePage(int index);
  void CreateFrameset();
  void SetHomeLink(bool show, const std::string& address, const std::string& text);
  void SavePage(const std::string& name, bool withBanner);
  void SetValue(const std::string& name, const std::string& value);

  void DoProgress(const std::string& msg, int index, int total);

  // Folders of the published output, each ending in "/".
  std::string OutputPath() const;
  std::string SubFolderPath(const std::string& folder) const;
  void LoadTemplate(const std::string& name);
  // Relative links from the pages folder: "../" when pages have a folder of
  // their own, then the images or icons folder with "/".
  std::string UpPrefix() const;
  std::string ImageLinkPrefix() const;
  std::string IconLinkPrefix() const;
  // The file-name part of the file the pages link for the picture.
  std::string WorkName(int index) const;
  int ImageCount() const;
  const std::string& PictureFileName(int index) const;
  int RowCount() const;
  int ColCount() const;
  long long PicturesPerPage() const;

  TPicGallery* gallery_ = nullptr;
  std::unique_ptr<TPicIcon> iconMaker_;
  TPageTemplate pageTemplate_;
  std::string templateFolder_;
  bool isFrameset_ = false;
  bool noThumbnails_ = false;
  int pageCount_ = 0;

  TWriteGuard guard_;
  std::unique_ptr<TRenderAhead> renderAhead_;
  // Per picture, its render-ahead job where that makes its thumbnail, and
  // where it makes its converted picture; -1 otherwise.
  std::vector<int> thumbnailJobs_;
  std::vector<int> imageJobs_;
  std::vector<std::optional<TUnreadableAs>> unreadable_;  // per picture
};

}  // namespace tessalune

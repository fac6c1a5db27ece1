// SPDX-License-Identifier: GPL-3.0-or-later
// The file steps of a publish: thumbnails, pictures and the template's files.
#include <algorithm>
#include <climits>
#include <filesystem>
#include <set>

#include "AsciiText.h"
#include "FileLib.h"
#include "FileReplace.h"
#include "GalleryProp.h"
#include "PageGen.h"
#include "PicIcon.h"
#include "RenderAhead.h"

namespace tessalune {
namespace {

// The template's own files, never copied into the output.
bool IsTemplateOwnFile(const std::string& name) {
  for (const char* own :
       {"frameset.html", "page.html", "image.html", "settings.ini", "screenshot.jpg"}) {
    if (SameText(name, own)) {
      return true;
    }
  }
  return false;
}

// The path with its symbolic links, "." and ".." resolved as far as it
// exists; as written when it cannot be resolved.
std::string ResolvedPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved.string();
}

}  // namespace

TRenderSize TPageGenerator::ThumbnailSize() const {
  return {gallery_->IconWidth(), gallery_->IconHeight(), gallery_->IconQuality()};
}

// Pictures keep their size unless resizing is asked for: the thumbnail maker
// never enlarges.
TRenderSize TPageGenerator::ImageSize() const {
  const bool resize = gallery_->ImageResize();
  return {resize ? gallery_->ImageWidth() : INT_MAX, resize ? gallery_->ImageHeight() : INT_MAX,
          gallery_->ImageQuality()};
}

std::string TPageGenerator::ThumbnailTarget(int index) const {
  return SubFolderPath(gallery_->IconsFolder()) + GetThumbnailName(PictureFileName(index));
}

std::string TPageGenerator::ImageTarget(int index) const {
  return SubFolderPath(gallery_->ImagesFolder()) + FileNamePart(PictureFileName(index));
}

// File names are case-sensitive here: a picture in "OUT/images" is not in
// the images folder of "out", and is copied like any other. The same file
// under another spelling (a link, "..", a case-insensitive mount) is found by
// identity.
bool TPageGenerator::IsInImagesFolder(int index) const {
  const std::string& source = PictureFileName(index);
  const std::string dest = ImageTarget(index);
  return source == dest || IsSameFile(source, dest);
}

bool TPageGenerator::IsConverting() const {
  return gallery_->IsConvertImages() || gallery_->ImageResize();
}

bool TPageGenerator::NeedsWrite(const std::string& target) const {
  return (gallery_->OverrideFiles() || !FileExists(target)) && !guard_.IsProtected(target);
}

// Per picture, whether it may be loaded before its turn: neither inside the
// output folder nor, however the two paths are spelt (through a symbolic
// link, with ".."), one of the files the picture steps write. Such a file
// may be written by this very run before its turn comes. (A picture that
// exists is never written: the guard knows it by identity.)
std::vector<bool> TPageGenerator::LoadableAhead() const {
  std::set<std::string> targets;
  for (int i = 0; i < ImageCount(); ++i) {
    if (!noThumbnails_) {
      targets.insert(ResolvedPath(ThumbnailTarget(i)));
    }
    if (IsConverting()) {
      targets.insert(ResolvedPath(ChangeFileExt(ImageTarget(i), ".jpg")));
    }
  }
  std::vector<bool> loadable;
  for (int i = 0; i < ImageCount(); ++i) {
    const std::string& picture = PictureFileName(i);
    loadable.push_back(!guard_.IsInside(picture) && targets.count(ResolvedPath(picture)) == 0);
  }
  return loadable;
}

// Starts loading, on worker threads, every picture the two picture steps
// will most likely write, in the order they will ask for them. The steps
// still decide each file for themselves; a result they do not take is
// dropped.
void TPageGenerator::StartRenderAhead() {
  thumbnailJobs_.assign(std::size_t(ImageCount()), -1);
  imageJobs_.assign(std::size_t(ImageCount()), -1);
  const unsigned threads = Threads ? Threads : TRenderAhead::ThreadCount();
  if (threads < 2) {
    return;
  }
  const std::vector<bool> loadable = LoadableAhead();
  std::vector<TRenderJob> jobs;
  for (int i = 0; i < ImageCount(); ++i) {
    if (!loadable[std::size_t(i)]) {
      continue;
    }
    TRenderJob job{PictureFileName(i), std::nullopt, std::nullopt};
    if (!noThumbnails_ && NeedsWrite(ThumbnailTarget(i))) {
      job.Thumbnail = ThumbnailSize();
      thumbnailJobs_[std::size_t(i)] = int(jobs.size());
    }
    if (IsConverting() && !IsInImagesFolder(i) && NeedsWrite(ChangeFileExt(ImageTarget(i), ".jpg"))) {
      job.Image = ImageSize();
      imageJobs_[std::size_t(i)] = int(jobs.size());
    }
    if (job.Thumbnail || job.Image) {
      jobs.push_back(std::move(job));
    }
  }
  if (!jobs.empty()) {
    renderAhead_ = std::make_unique<TRenderAhead>(std::move(jobs), threads);
  }
}

// The thumbnails, then the pictures; the workers loading ahead for them stop
// when both are done, and as soon as either ends early.
void TPageGenerator::WritePictures() {
  StartRenderAhead();
  try {
    if (!noThumbnails_) {
      CreateThumbnails();
    }
    CopyImages();
  } catch (...) {
    renderAhead_.reset();
    throw;
  }
  renderAhead_.reset();
}

void TPageGenerator::CreateThumbnails() {
  for (int i = 0; i < ImageCount(); ++i) {
    const std::string target = ThumbnailTarget(i);
    guard_.CheckInside(target);
    if (NeedsWrite(target)) {
      WriteThumbnail(i, target);
      DoProgress("Creating thumbnails", i, ImageCount());
    }
  }
}

void TPageGenerator::CopyImages() {
  for (int i = 0; i < ImageCount(); ++i) {
    TImageFile& picture = *gallery_->GetImageFile(i);
    const std::string dest = ImageTarget(i);
    if (IsInImagesFolder(i)) {
      picture.WorkFileName = picture.FileName;
    } else if (IsConverting()) {
      picture.WorkFileName = ConvertImage(i, dest);
      DoProgress("Copying images", i, ImageCount());
    } else {
      picture.WorkFileName = picture.FileName;
      if (gallery_->OverrideFiles() || !FileExists(dest)) {
        if (!CopyOneFile(picture.FileName, dest)) unreadable_[std::size_t(i)] = TUnreadableAs::BrokenLink;
        DoProgress("Copying images", i, ImageCount());
      }
    }
  }
}

std::string TPageGenerator::ConvertImage(int index, const std::string& dest) {
  const std::string target = ChangeFileExt(dest, ".jpg");
  guard_.CheckInside(target);
  if (NeedsWrite(target)) {
    WriteImage(index, target);
  }
  return target;
}

void TPageGenerator::CopyTemplateFiles() {
  const TFileFolder listing(templateFolder_, fkFiles);
  std::vector<std::string> files(listing.begin(), listing.end());
  // Listed by name, so that the reports come in the same order everywhere.
  std::sort(files.begin(), files.end());
  const std::string pages = SubFolderPath(gallery_->PagesFolder());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string name = FileNamePart(files[i]);
    if (!IsTemplateOwnFile(name)) {
      CopyOneFile(files[i], pages + name);
      DoProgress("Copying the template files", int(i), int(files.size()));
    }
  }
  if (!gallery_->BackgroundImage().empty()) {
    CopyOneFile(gallery_->BackgroundImage(), pages + FileNamePart(gallery_->BackgroundImage()));
  }
}

void TPageGenerator::WriteThumbnail(int index, const std::string& target) {
  const int job = thumbnailJobs_[std::size_t(index)];
  WriteRendered(index, target,
                renderAhead_ && job >= 0 ? renderAhead_->TakeThumbnail(job) : Render(index, ThumbnailSize()));
}

void TPageGenerator::WriteImage(int index, const std::string& target) {
  const int job = imageJobs_[std::size_t(index)];
  WriteRendered(index, target,
                renderAhead_ && job >= 0 ? renderAhead_->TakeImage(job) : Render(index, ImageSize()));
}

// The picture loaded on this thread, as TPicIcon::SaveToFile writes it.
TRenderedFile TPageGenerator::Render(int index, const TRenderSize& size) {
  SetUpIcon(*iconMaker_, size);
  iconMaker_->Threads = Threads;
  iconMaker_->LoadFromFile(PictureFileName(index));
  return {iconMaker_->SaveToStream(), iconMaker_->PictureWidth == 0};
}

void TPageGenerator::WriteRendered(int index, const std::string& target, const TRenderedFile& file) {
  ReplaceFileBytes(target, file.Bytes, TDurability::Cached, TFinalLink::Replace);
  if (file.ErrorMark) unreadable_[std::size_t(index)] = TUnreadableAs::ErrorMark;
}

// A copy that cannot be made is no error: the pages still link the file.
// False when the source could not be read.
bool TPageGenerator::CopyOneFile(const std::string& source, const std::string& dest) const {
  if (!guard_.MayWrite(dest)) {
    return true;
  }
  try {
    ReplaceFileByCopy(source, dest, TFinalLink::Replace);
  } catch (const EFOpenError&) {
    return false;
  } catch (const Exception&) {
    // The previous copy, if any, stays whole.
  }
  return true;
}

}  // namespace tessalune

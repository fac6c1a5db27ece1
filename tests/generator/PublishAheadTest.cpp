// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing with pictures loaded ahead on worker threads writes exactly what
// publishing on the calling thread alone writes: the same files with the
// same bytes, the same reports in the same order, the same links, the same
// pictures named unreadable, and, when the run is stopped at any report or
// ends in an error, the same files left.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>

#include "ImageFixtures.h"
#include "PublishFixture.h"
#include "Random.h"
#include "TestNames.h"

namespace tessalune {
namespace {

namespace fs = std::filesystem;
using test::Report;

// What one run left behind.
struct Outcome {
  std::vector<Report> reports;
  std::map<std::string, std::string> files;  // relative path, bytes
  std::vector<std::string> workFiles;
  std::vector<std::string> unreadable;
  std::string error;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
  *out << outcome.reports.size() << " reports, " << outcome.files.size() << " files";
  for (const auto& [name, bytes] : outcome.files) *out << "\n  " << name << " (" << bytes.size() << " bytes)";
  if (!outcome.error.empty()) *out << "\n  error: " << outcome.error;
}

// How the gallery is set up, and what the output folder holds before a run.
struct Setup {
  const char* name;
  void (*apply)(TPicGallery&);
  void (*prepare)(const test::Sandbox&);
};

void ResizedAndConverted(TPicGallery& g) {
  g.SetIsConvertImages(true);
  g.SetImageResize(true);
  g.SetImageWidth(50);
  g.SetImageHeight(40);
  g.SetIconWidth(40);
  g.SetIconHeight(30);
}

void ConvertedAtFullSize(TPicGallery& g) { g.SetIsConvertImages(true); }

void KeepingFiles(TPicGallery& g) {
  g.SetImageResize(true);
  g.SetOverrideFiles(false);
}

void Nothing(const test::Sandbox&) {}

void SomeFilesExist(const test::Sandbox& box) {
  box.Write("out/thums/th_b.jpg", "kept");
  box.Write("out/images/turned.jpg", "kept");
  box.Write("out/images/b.bmp", "kept");
}

// A folder where a thumbnail goes: writing it fails and ends the run.
void ThumbnailBlocked(const test::Sandbox& box) {
  fs::create_directories(box.File("out/thums/th_turned.jpg"));
}

struct AheadCase {
  const char* templateName;
  Setup setup;
};

void PrintTo(const AheadCase& c, std::ostream* out) { *out << c.templateName << " / " << c.setup.name; }

class PublishAheadTest : public test::PublishTest, public ::testing::WithParamInterface<AheadCase> {
protected:
  PublishAheadTest() {
    if (std::string(GetParam().templateName) == "Probe") {
      UseProbeTemplate(true);
    } else {
      shipped.emplace((fs::path(test::TestDataPath("")) / ".." / ".." / "templates").lexically_normal().string());
    }
    gallery.SetTemplate(GetParam().templateName);
    gallery.SetRowCount(2);
    gallery.SetColCount(2);
    gallery.SetIsCreateImagePages(true);
    GetParam().setup.apply(gallery);
    AddPictures();
  }

  // Pictures of every kind the steps tell apart: JPEG, turned JPEG, bitmap,
  // GIF, one that cannot be read, two whose files share a name, one already
  // in the images folder and one that the run writes before its turn.
  void AddPictures() {
    box.Write("pictures/a.jpg", test::MakeJpeg(test::NoiseBitmap(160, 120, 1)));
    box.Write("pictures/turned.jpg",
              test::WithApp1(test::MakeJpeg(test::NoiseBitmap(120, 80, 2)), test::ExifBlock({6})));
    box.Write("pictures/c.gif", test::MakeGif(70, 50, {Qt::red, Qt::blue}, {{0, 0, 70, 50, false, -1,
                                                                             std::vector<std::uint8_t>(70 * 50, 1)}}));
    box.Write("pictures/broken.jpg", "not a picture");
    for (const char* name : {"pictures/a.jpg", "pictures/turned.jpg", "pictures/c.gif", "pictures/broken.jpg"}) {
      Add(box.File(name), name);
    }
    Add(Picture("pictures/b.bmp", 90, 60));
    Add(Picture("pictures/more/a.bmp", 30, 90));
    Add(box.File("out/images/inside.bmp"));
    Add(box.File("out/thums/th_b.jpg"));
  }

  // Publishes into a fresh output folder with the given number of threads,
  // stopping at report number stopAt (from 0; never when negative).
  Outcome PublishWith(unsigned threads, int stopAt = -1) {
    fs::remove_all(box.File("out"));
    GetParam().setup.prepare(box);
    Picture("out/images/inside.bmp", 20, 20);
    RandSeed(7);
    Outcome outcome;
    TPageGenerator publisher;
    publisher.Threads = threads;
    publisher.OnProgress = [&](TPageGenerator&, const std::string& msg, int percent, bool& cancel) {
      cancel = int(outcome.reports.size()) == stopAt;
      outcome.reports.push_back({msg, percent});
    };
    try {
      publisher.Publish(gallery);
    } catch (const std::exception& error) {
      outcome.error = error.what();
    }
    for (const std::string& file : OutputFiles()) outcome.files[file] = Out(file);
    outcome.unreadable = publisher.UnreadablePictures(TUnreadableAs::ErrorMark);
    for (int i = 0; i < gallery.GetImageCount(); ++i) {
      outcome.workFiles.push_back(gallery.GetImageFile(i)->WorkFileName);
      gallery.GetImageFile(i)->WorkFileName.clear();
    }
    return outcome;
  }

  std::optional<ScopedTemplatesRoot> shipped;
};

TEST_P(PublishAheadTest, WritesWhatTheCallingThreadAloneWrites) {
  const Outcome alone = PublishWith(1);
  EXPECT_FALSE(alone.files.empty());
  for (const unsigned threads : {2u, 5u}) {
    EXPECT_EQ(PublishWith(threads), alone) << threads << " threads";
  }
}

TEST_P(PublishAheadTest, LeavesWhatTheCallingThreadAloneLeavesWhenStoppedAtAnyReport) {
  const std::size_t count = PublishWith(1).reports.size();
  ASSERT_GT(count, 0u);
  for (int stop = 0; stop < int(count); ++stop) {
    EXPECT_EQ(PublishWith(4, stop), PublishWith(1, stop)) << "stopped at report " << stop;
  }
}

const Setup kSetups[] = {{"resized and converted", ResizedAndConverted, Nothing},
                         {"converted at full size", ConvertedAtFullSize, Nothing},
                         {"keeping existing files", KeepingFiles, SomeFilesExist},
                         {"a thumbnail that cannot be written", ResizedAndConverted, ThumbnailBlocked}};

std::vector<AheadCase> EveryTemplateWithEverySetup() {
  std::vector<AheadCase> cases;
  for (const char* name : {"Grid", "Frames", "List", "Probe"}) {
    for (const Setup& setup : kSetups) cases.push_back({name, setup});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Templates, PublishAheadTest, ::testing::ValuesIn(EveryTemplateWithEverySetup()),
                         test::PrintedName());

}  // namespace
}  // namespace tessalune

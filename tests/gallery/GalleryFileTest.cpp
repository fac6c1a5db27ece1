// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "Errors.h"
#include "UserPrompt.h"
#include "GalleryProp.h"
#include "GalleryTestSupport.h"
#include "ProcessLimits.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

using test::CrLfLines;
using test::SavedText;

// The gallery read from text, loaded into a fresh, cleared gallery.
void LoadText(TPicGallery& gallery, const std::string& text) {
  test::Sandbox sandbox;
  gallery.Clear();
  gallery.LoadFromFile(sandbox.Write("in.gmf", text));
}

::testing::AssertionResult SameGallery(const TPicGallery& a, const TPicGallery& b) {
  if (a.WriteBinary() == b.WriteBinary()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "galleries differ:\n"
                                       << SavedText(a) << "\n---- versus ----\n"
                                       << SavedText(b);
}

TEST(GalleryFile, TheExampleGalleryIsWrittenByteForByteAndReadBack) {
  TPicGallery gallery;
  test::FillExampleGallery(gallery);
  const std::string text = SavedText(gallery);
  EXPECT_EQ(text, test::ExampleGalleryText());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 70);

  TPicGallery loaded;
  LoadText(loaded, text);
  EXPECT_TRUE(SameGallery(gallery, loaded));
  EXPECT_EQ(loaded.GetCheckSum(), gallery.GetCheckSum());
  ASSERT_EQ(loaded.GetImageCount(), 2);
  EXPECT_EQ(loaded.GetImageFile(0)->Caption, "Sunset at the beach\r\n(it's cold)");
  EXPECT_EQ(loaded.GetImageFile(1)->Caption, "");
}

TEST(GalleryFile, AnEmptyDefaultGalleryWritesTheEmptyCollectionFirstAndNoEmptyString) {
  TPicGallery gallery;
  gallery.Clear();
  const std::string text = SavedText(gallery);
  EXPECT_EQ(text.substr(0, 41), "object TPicGallery\r\n  ImageFiles = <>\r\n  ");
  EXPECT_EQ(text.find("OutputFolder"), std::string::npos);
  EXPECT_EQ(text.find("PagesFolder"), std::string::npos);
  EXPECT_EQ(text.find("''"), std::string::npos);
}

TEST(GalleryFile, EmptyStringsAreLeftOutSoLoadingKeepsTheDefaults) {
  TPicGallery gallery;
  gallery.Clear();
  gallery.SetTemplate("");
  gallery.SetThPrevLink("");
  TPicGallery loaded;
  LoadText(loaded, SavedText(gallery));
  EXPECT_EQ(loaded.Template(), "Grid");
  EXPECT_EQ(loaded.ThPrevLink(), "PREV");
}

// One kind of gallery content that must survive a save and a load.
struct TRoundTrip {
  const char* Name;
  void (*Fill)(TPicGallery&);
};

std::string Repeat(char c, std::size_t count) { return std::string(count, c); }

const TRoundTrip kRoundTrips[] = {
    {"NoPictures", [](TPicGallery&) {}},
    {"DescriptionsWithBreaksAndApostrophes",
     [](TPicGallery& g) {
       g.AddFile("/p/a.jpg")->Caption = "line one\r\nline 'two'\n\ttabbed''";
       g.AddFile("/p/b.jpg")->Caption = "'";
     }},
    {"HighBytesAndUtf8",
     [](TPicGallery& g) {
       std::string high;
       for (int c = 128; c < 256; ++c) high.push_back(char(c));
       g.AddFile("/p/\xC3\xA9t\xC3\xA9.jpg")->Caption = high;
       g.SetTitle("Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln \xE2\x80\x94 \xF0\x9F\x8C\x85");
     }},
    {"StringLengthsAroundTheLineCut",
     [](TPicGallery& g) {
       g.SetTitle(Repeat('a', 63));
       g.SetCaption(Repeat('b', 64));
       g.SetPageLinkStyle(Repeat('c', 65));
       g.SetBeforePageLink(Repeat('d', 128));
       g.SetAfterPageLink(Repeat('e', 129));
       g.SetBackgroundImage(Repeat('f', 255));
       g.SetBetweenPageLink(Repeat('g', 256) + "'" + Repeat('h', 300));
     }},
    {"ControlCodes",
     [](TPicGallery& g) {
       std::string codes;
       for (int c = 0; c < 64; ++c) codes.push_back(char(c % 32));
       g.AddFile("/p/a.jpg")->Caption = codes;
       g.SetTitle(codes.substr(0, 63) + "x" + codes);
     }},
    {"ExtremeIntegers",
     [](TPicGallery& g) {
       g.SetImageQuality(INT_MIN);
       g.SetImageWidth(INT_MAX);
       g.SetImageHeight(-1);
       g.SetIconWidth(127);
       g.SetIconHeight(128);
       g.SetIconQuality(-128);
       g.SetColCount(-129);
       g.SetRowCount(32767);
       g.SetColSpacing(32768);
       g.SetRowSpacing(-32768);
       g.SetIconBorder(-32769);
     }},
    {"NamedAndUnnamedColours",
     [](TPicGallery& g) {
       g.SetTableColor(0x123456);
       g.SetLightBorderColor(TColor(0x80000005));
       g.SetDarkBorderColor(0x1FFFFFFF);
       g.SetLinkColor(TColor(0x80000019));
       g.SetTextColor(-1);
       g.SetBackgroundColor(0x00FF00);
     }},
    {"EveryBooleanFlipped",
     [](TPicGallery& g) {
       g.SetIsConvertImages(true);
       g.SetLaunchBrouser(false);
       g.SetIsImNextLink(false);
       g.SetShowImageCaption(true);
     }},
    {"ManyPictures",
     [](TPicGallery& g) {
       g.FDuplicateAnswer = mrYesToAll;  // the same names again and again
       for (int i = 0; i < 500; ++i) {
         g.AddFile("/pictures/" + std::to_string(i % 7) + ".jpg")->Caption = std::to_string(i);
       }
     }},
};

class GalleryRoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(GalleryRoundTrip, SavingAndLoadingGivesTheSameGalleryAndChecksum) {
  TPicGallery gallery;
  gallery.Clear();
  GetParam().Fill(gallery);
  TPicGallery loaded;
  LoadText(loaded, SavedText(gallery));
  EXPECT_TRUE(SameGallery(gallery, loaded));
  EXPECT_EQ(loaded.GetCheckSum(), gallery.GetCheckSum());
  ASSERT_EQ(loaded.GetImageCount(), gallery.GetImageCount());
  for (int i = 0; i < gallery.GetImageCount(); ++i) {
    EXPECT_EQ(loaded.GetImageFile(i)->FileName, gallery.GetImageFile(i)->FileName);
    EXPECT_EQ(loaded.GetImageFile(i)->Caption, gallery.GetImageFile(i)->Caption);
  }
}

INSTANTIATE_TEST_SUITE_P(Contents, GalleryRoundTrip, ::testing::ValuesIn(kRoundTrips), test::CaseName());

TEST(GalleryFile, TheFileOnlySettingsAreStoredAndLoaded) {
  TPicGallery gallery;
  LoadText(gallery, CrLfLines({"object TPicGallery", "  IsCopyImages = True",
                               "  IsNotOverrideImages = True", "  IsNotOverrideIcons = True", "end"}));
  EXPECT_TRUE(gallery.IsCopyImages());
  EXPECT_TRUE(gallery.IsNotOverrideIcons());
  gallery.Clear();
  EXPECT_TRUE(gallery.IsNotOverrideImages()) << "Clear leaves the file-only settings alone";
  TPicGallery loaded;
  LoadText(loaded, SavedText(gallery));
  EXPECT_TRUE(loaded.IsCopyImages() && loaded.IsNotOverrideImages() && loaded.IsNotOverrideIcons());
}

TEST(GalleryFile, TrimmedSettingsAreTrimmedWhenLoaded) {
  TPicGallery gallery;
  LoadText(gallery, CrLfLines({"object TPicGallery", "  OutputFolder = #9'  /web/out '#32#9",
                               "  Title = '  kept  '", "end"}));
  EXPECT_EQ(gallery.OutputFolder(), "/web/out");
  EXPECT_EQ(gallery.Title(), "  kept  ");
}

TEST(GalleryFile, AComponentNameIsKeptAndWrittenBack) {
  TPicGallery gallery;
  LoadText(gallery, CrLfLines({"object Holiday: TSomething", "end"}));
  EXPECT_EQ(gallery.Name(), "Holiday");
  EXPECT_EQ(SavedText(gallery).substr(0, 29), "object Holiday: TPicGallery\r\n");
}

TEST(GalleryFile, TagLeftAndTopAreReadAndWrittenBack) {
  TPicGallery gallery;
  LoadText(gallery, CrLfLines({"object TPicGallery", "  Tag = -5", "  Left = -1", "  Top = 65537",
                               "end"}));
  EXPECT_EQ(gallery.Tag(), -5);
  const std::string text = SavedText(gallery);
  EXPECT_EQ(text.substr(0, 32), "object TPicGallery\r\n  Tag = -5\r\n");
  EXPECT_NE(text.find("  Left = 65535\r\n  Top = 1\r\nend\r\n"), std::string::npos) << text;
}

TEST(GalleryFile, LoadingEmptiesThePicturesButKeepsUnmentionedSettings) {
  TPicGallery gallery;
  gallery.Clear();
  gallery.AddFile("/old.jpg");
  gallery.SetIconWidth(7);
  LoadText(gallery, CrLfLines({"object TPicGallery", "  ImageFiles = <>", "end"}));
  EXPECT_EQ(gallery.GetImageCount(), 0);
  EXPECT_EQ(gallery.IconWidth(), 128) << "LoadText starts from a cleared gallery";
  test::Sandbox sandbox;
  gallery.SetIconWidth(7);
  gallery.LoadFromFile(sandbox.Write("a.gmf", CrLfLines({"object TPicGallery", "end"})));
  EXPECT_EQ(gallery.IconWidth(), 7);
}

TEST(GalleryFile, AFileThatCannotBeOpenedRaisesTheOpenErrorAfterEmptyingThePictures) {
  test::Sandbox sandbox;
  TPicGallery gallery;
  gallery.Clear();
  gallery.AddFile("/a.jpg");
  gallery.SetTitle("kept");
  const std::string missing = sandbox.File("missing.gmf");
  try {
    gallery.LoadFromFile(missing);
    FAIL() << "no exception";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Cannot open file " + missing);
  }
  EXPECT_EQ(gallery.GetImageCount(), 0);
  EXPECT_EQ(gallery.Title(), "kept");
  EXPECT_THROW(gallery.LoadFromFile(sandbox.Path().string()), EFOpenError);
  const std::string pipe = sandbox.File("pipe.gmf");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_THROW(gallery.LoadFromFile(pipe), EFOpenError) << "and does not wait for a writer";
}

TEST(GalleryFile, AFailedSaveRaisesTheCreateErrorAndLeavesTheOldFile) {
  test::Sandbox sandbox;
  TPicGallery gallery;
  gallery.Clear();
  const std::string inMissingFolder = sandbox.File("no/such/folder/a.gmf");
  try {
    gallery.SaveToFile(inMissingFolder);
    FAIL() << "no exception";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + inMissingFolder);
  }

  // A file-size limit makes the write itself fail half-way, even for root.
  const std::string old = sandbox.Write("a.gmf", "previous content");
  try {
    test::ScopedFileSizeLimit limit(64);
    gallery.SaveToFile(old);
    FAIL() << "no exception";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), std::error_code(EFBIG, std::system_category()).message())
        << "the file system's own message";
  }
  EXPECT_EQ(test::ReadBytes(old), "previous content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sandbox.Path()),
                          std::filesystem::directory_iterator()),
            1)
      << "the unfinished file is removed";
}

TEST(GalleryFile, AReadOnlyFileIsNotReplaced) {
  test::Sandbox sandbox;
  const std::string file = sandbox.Write("a.gmf", "previous content");
  ::chmod(file.c_str(), 0444);
  TPicGallery gallery;
  gallery.Clear();
  try {
    gallery.SaveToFile(file);
    FAIL() << "no exception";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + file);
  }
  EXPECT_EQ(test::ReadBytes(file), "previous content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sandbox.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

// A shared folder: the user may write the gallery file but not create files
// beside it.
TEST(GalleryFile, AWritableFileInAFolderThatMayNotBeWrittenIsSavedInPlace) {
  test::Sandbox sandbox;
  const std::string shared = sandbox.File("shared");
  const std::string file = sandbox.Write("shared/a.gmf", std::string(3000, 'x'));
  std::filesystem::permissions(sandbox.Path(), std::filesystem::perms(0755));
  std::filesystem::permissions(file, std::filesystem::perms(0666));
  std::filesystem::permissions(shared, std::filesystem::perms(0555));
  TPicGallery gallery;
  gallery.Clear();
  gallery.SetTitle("Saved in place");
  const test::ChildOutcome outcome = test::RunAsUnprivilegedUser([&] {
    gallery.SaveToFile(file);
    TPicGallery longer;
    longer.Clear();
    longer.SetCaption(std::string(5000, 'c'));
    try {
      // Room is reserved before the first byte is written over.
      test::ScopedFileSizeLimit limit(4000);
      longer.SaveToFile(file);
      return 2;
    } catch (const EWriteError&) {
      return 0;
    }
  });
  std::filesystem::permissions(shared, std::filesystem::perms(0755));
  if (!outcome.Unavailable.empty()) GTEST_SKIP() << outcome.Unavailable;
  EXPECT_EQ(outcome.Status, 0) << "1: the save failed, 2: a save beyond the limit succeeded";
  EXPECT_EQ(test::ReadBytes(file), SavedText(gallery)) << "written in place, and then left whole";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(shared),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(GalleryFile, SavingReplacesTheOldFileAndKeepsItsPermissions) {
  test::Sandbox sandbox;
  const std::string file = sandbox.Write("a.gmf", std::string(100000, 'x'));
  ::chmod(file.c_str(), 0640);
  TPicGallery gallery;
  gallery.Clear();
  gallery.SaveToFile(file);
  EXPECT_EQ(test::ReadBytes(file), SavedText(gallery));
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sandbox.Path()),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file is left behind";
}

TEST(GalleryFile, AFileNameOfTheLongestLengthIsSaved) {
  test::Sandbox sandbox;
  const std::string file = sandbox.File(std::string(251, 'g') + ".gmf");
  TPicGallery gallery;
  gallery.Clear();
  gallery.SaveToFile(file);
  EXPECT_EQ(test::ReadBytes(file), SavedText(gallery));
}

TEST(GalleryFile, SavingThroughASymbolicLinkReplacesItsTarget) {
  test::Sandbox sandbox;
  const std::string target = sandbox.Write("real.gmf", "old");
  std::filesystem::create_symlink(target, sandbox.Path() / "link.gmf");
  TPicGallery gallery;
  gallery.Clear();
  gallery.SaveToFile(sandbox.File("link.gmf"));
  EXPECT_TRUE(std::filesystem::is_symlink(sandbox.Path() / "link.gmf"));
  EXPECT_EQ(test::ReadBytes(target), SavedText(gallery));
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
// The files a publish writes: the output tree, thumbnails, copied and
// converted pictures, template files, reports, cancelling and errors.
#include <gtest/gtest.h>

#include <QImage>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "ImageFixtures.h"
#include "PicIcon.h"
#include "ProcessLimits.h"
#include "PublishFixture.h"
#include "RenderAhead.h"
#include "TestNames.h"

namespace tessalune {
namespace {

using Files = std::vector<std::string>;
using test::Report;

class PageGenFilesTest : public test::PublishTest {
 protected:
  void SetUp() override { UseProbeTemplate(); }

  QSize ImageSize(const std::string& relative) {
    const QImage image(QString::fromStdString(box.File("out/" + relative)));
    return image.size();
  }
};

TEST_F(PageGenFilesTest, WritesTheWholeOutputTree) {
  gallery.SetPagesFolder("pages");
  AddPictures(2);
  Publish();
  EXPECT_EQ(OutputFiles(),
            (Files{"images/p1.bmp", "images/p2.bmp", "pages/image_1.html", "pages/image_2.html",
                   "pages/index.html", "pages/style.css", "thums/th_p1.jpg", "thums/th_p2.jpg"}));
  EXPECT_EQ(Out("images/p1.bmp"), test::ReadBytes(box.File("pictures/p1.bmp")));
  EXPECT_EQ(ImageSize("thums/th_p1.jpg"), QSize(40, 30));
  EXPECT_EQ(gallery.GetImageFile(0)->WorkFileName, box.File("pictures/p1.bmp"));
}

TEST_F(PageGenFilesTest, EmptySubFolderNamesPutEverythingInTheOutputFolder) {
  gallery.SetImagesFolder("");
  gallery.SetIconsFolder("");
  AddPictures(1);
  Publish();
  EXPECT_EQ(OutputFiles(),
            (Files{"image_1.html", "index.html", "p1.bmp", "style.css", "th_p1.jpg"}));
  const auto cell = test::ProbeLines(Out("index.html"), "CELL").at(0);
  EXPECT_EQ(cell.at("th_href"), "th_p1.jpg");
  EXPECT_EQ(test::ProbeLines(Out("image_1.html"), "IMAGE").at(0).at("image_href"), "p1.bmp");
}

TEST_F(PageGenFilesTest, ConvertingAndResizingGiveJpegNames) {
  gallery.SetImageResize(true);
  gallery.SetImageWidth(20);
  gallery.SetImageHeight(20);
  gallery.SetIconPrefix("small-");
  Add(Picture("pictures/wide.bmp", 80, 40));
  Add(Picture("pictures/noext", 10, 10));
  Publish();
  EXPECT_EQ(OutputFiles(),
            (Files{"image_1.html", "image_2.html", "images/noext.jpg", "images/wide.jpg",
                   "index.html", "style.css", "thums/small-noext.jpg", "thums/small-wide.jpg"}));
  EXPECT_EQ(ImageSize("images/wide.jpg"), QSize(20, 10));
  EXPECT_EQ(gallery.GetImageFile(0)->WorkFileName, box.File("out/images/wide.jpg"));
  const auto cell = test::ProbeLines(Out("index.html"), "CELL").at(0);
  EXPECT_EQ(cell.at("image_filename"), "wide.jpg");
  EXPECT_EQ(cell.at("image_size"), FormatFileSize(FileSizeOf(box.File("out/images/wide.jpg"))));
}

TEST_F(PageGenFilesTest, PictureAlreadyInTheImagesFolderIsLeftAlone) {
  gallery.SetIsConvertImages(true);
  gallery.SetOverrideFiles(true);
  const std::string inside = Picture("out/images/in.bmp");
  const std::string before = test::ReadBytes(inside);
  Add(inside);
  Add(box.File("out/images/./in.bmp"));
  Publish();
  EXPECT_EQ(test::ReadBytes(inside), before);
  EXPECT_FALSE(std::filesystem::exists(box.File("out/images/in.jpg")));
  EXPECT_EQ(gallery.GetImageFile(0)->WorkFileName, inside);
  for (const Report& report : reports) EXPECT_NE(report.Msg, "Copying images");
}

TEST_F(PageGenFilesTest, PictureInAFolderNamedInOtherLetterCaseIsCopied) {
  const std::string elsewhere = Picture("OUT/images/in.bmp");
  Add(elsewhere);
  Publish();
  EXPECT_EQ(Out("images/in.bmp"), test::ReadBytes(elsewhere));
  EXPECT_EQ(gallery.GetImageFile(0)->WorkFileName, elsewhere);
}

TEST_F(PageGenFilesTest, TwoPicturesWithOneNameShareTheirFiles) {
  Add(Picture("one/same.bmp", 40, 30));
  Add(Picture("two/same.bmp", 20, 10));
  Publish();
  EXPECT_EQ(ImageSize("thums/th_same.jpg"), QSize(40, 30));
  EXPECT_EQ(Out("images/same.bmp"), test::ReadBytes(box.File("one/same.bmp")));
  EXPECT_EQ(reports, (std::vector<Report>{{"Creating thumbnails", 0},
                                          {"Copying images", 0},
                                          {"Copying the template files", 80},
                                          {"Creating pages", 100},
                                          {"Creating image pages", 0},
                                          {"Creating image pages", 50}}));
  gallery.SetOverrideFiles(true);
  Publish();
  EXPECT_EQ(ImageSize("thums/th_same.jpg"), QSize(20, 10));
  EXPECT_EQ(Out("images/same.bmp"), test::ReadBytes(box.File("two/same.bmp")));
}

TEST_F(PageGenFilesTest, ReportsEveryFileInOrder) {
  gallery.SetRowCount(1);
  gallery.SetColCount(2);
  gallery.SetIsConvertImages(true);
  box.Write("Templates/Probe/extra.js", "");
  AddPictures(3);
  Publish();
  // The template folder lists extra.js, image.html, page.html,
  // screenshot.jpg, settings.ini, style.css: six files, two copied.
  EXPECT_EQ(reports, (std::vector<Report>{{"Creating thumbnails", 0},
                                          {"Creating thumbnails", 33},
                                          {"Creating thumbnails", 66},
                                          {"Copying images", 0},
                                          {"Copying images", 33},
                                          {"Copying images", 66},
                                          {"Copying the template files", 0},
                                          {"Copying the template files", 83},
                                          {"Creating pages", 50},
                                          {"Creating pages", 100},
                                          {"Creating image pages", 0},
                                          {"Creating image pages", 33},
                                          {"Creating image pages", 66}}));
}

TEST_F(PageGenFilesTest, RepublishingKeepsThumbnailsAndPicturesButRewritesPages) {
  AddPictures(2);
  Publish();
  for (const char* name :
       {"thums/th_p1.jpg", "images/p1.bmp", "index.html", "image_1.html", "style.css"}) {
    box.Write(std::string("out/") + name, "kept");
  }
  Publish();
  EXPECT_EQ(Out("thums/th_p1.jpg"), "kept");
  EXPECT_EQ(Out("images/p1.bmp"), "kept");
  EXPECT_NE(Out("index.html"), "kept");
  EXPECT_NE(Out("image_1.html"), "kept");
  EXPECT_EQ(Out("style.css"), "body {}\n");
  EXPECT_EQ(reports, (std::vector<Report>{{"Copying the template files", 80},
                                          {"Creating pages", 100},
                                          {"Creating image pages", 0},
                                          {"Creating image pages", 50}}));
}

TEST_F(PageGenFilesTest, RepublishingWhileConvertingStillReportsEveryPicture) {
  gallery.SetIsConvertImages(true);
  AddPictures(2);
  Publish();
  box.Write("out/images/p1.jpg", "kept");
  Publish();
  EXPECT_EQ(Out("images/p1.jpg"), "kept");
  EXPECT_EQ(reports[0], (Report{"Copying images", 0}));
  EXPECT_EQ(reports[1], (Report{"Copying images", 50}));
}

// Pictures made ahead on worker threads come out byte for byte as one
// thumbnail maker makes them in turn.
TEST_F(PageGenFilesTest, FilesEqualThoseOfOneThumbnailMakerInTurn) {
  gallery.SetImageResize(true);
  gallery.SetImageWidth(50);
  gallery.SetImageHeight(40);
  for (int i = 1; i <= 12; ++i) {
    Add(Picture("pictures/p" + std::to_string(i) + ".bmp", 30 + 17 * i, 20 + 11 * i));
  }
  Publish();
  TPicIcon icon;
  const std::string made = box.File("made.jpg");
  for (int i = 1; i <= 12; ++i) {
    const std::string source = box.File("pictures/p" + std::to_string(i) + ".bmp");
    SetUpIcon(icon, {128, 96, 75});
    icon.LoadFromFile(source);
    icon.SaveToFile(made);
    EXPECT_EQ(Out("thums/th_p" + std::to_string(i) + ".jpg"), test::ReadBytes(made)) << i;
    SetUpIcon(icon, {50, 40, 85});
    icon.LoadFromFile(source);
    icon.SaveToFile(made);
    EXPECT_EQ(Out("images/p" + std::to_string(i) + ".jpg"), test::ReadBytes(made)) << i;
  }
}

// A picture that the run itself writes before its turn is read as written.
TEST_F(PageGenFilesTest, PictureWrittenByTheRunIsReadAfterIt) {
  for (int i = 1; i <= 8; ++i) {
    Add(Picture("pictures/p" + std::to_string(i) + ".bmp", 40, 30));
  }
  Add(box.File("out/thums/th_p1.jpg"));
  Publish();
  EXPECT_EQ(ImageSize("thums/th_th_p1.jpg"), QSize(40, 30));
}

// Also when the picture's path reaches the output folder another way.
TEST_F(PageGenFilesTest, PictureWrittenByTheRunThroughALinkIsReadAfterIt) {
  std::filesystem::create_directories(box.File("out"));
  std::filesystem::create_directory_symlink(box.File("out"), box.File("link"));
  for (int i = 1; i <= 8; ++i) {
    Add(Picture("pictures/p" + std::to_string(i) + ".bmp", 40, 30));
  }
  Add(box.File("link/thums/th_p1.jpg"));
  Publish();
  EXPECT_EQ(ImageSize("thums/th_th_p1.jpg"), QSize(40, 30));
}

// Cancelling at the first report of a step leaves what was written up to it.
struct CancelCase {
  const char* step;
  Files written;
};

class PageGenCancelTest : public PageGenFilesTest,
                          public ::testing::WithParamInterface<CancelCase> {};

TEST_P(PageGenCancelTest, LeavesExactlyTheFilesWrittenBefore) {
  gallery.SetRowCount(1);
  gallery.SetColCount(1);
  AddPictures(2);
  cancelAt = GetParam().step;
  EXPECT_NO_THROW(Publish());
  EXPECT_EQ(reports.back().Msg, cancelAt);
  EXPECT_EQ(OutputFiles(), GetParam().written);
  EXPECT_TRUE(std::filesystem::is_directory(box.File("out/images")));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PageGenCancelTest,
    ::testing::Values(
        CancelCase{"Creating thumbnails", {"thums/th_p1.jpg"}},
        CancelCase{"Copying images", {"images/p1.bmp", "thums/th_p1.jpg", "thums/th_p2.jpg"}},
        CancelCase{
            "Copying the template files",
            {"images/p1.bmp", "images/p2.bmp", "style.css", "thums/th_p1.jpg", "thums/th_p2.jpg"}},
        CancelCase{"Creating pages",
                   {"images/p1.bmp", "images/p2.bmp", "index.html", "style.css", "thums/th_p1.jpg",
                    "thums/th_p2.jpg"}},
        CancelCase{"Creating image pages",
                   {"image_1.html", "images/p1.bmp", "images/p2.bmp", "index.html", "page_2.html",
                    "style.css", "thums/th_p1.jpg", "thums/th_p2.jpg"}}),
    [](const ::testing::TestParamInfo<CancelCase>& tested) { return test::TestName(tested.param.step); });

TEST_F(PageGenFilesTest, NoThumbnailsModeLinksThePicturesThemselves) {
  UseProbeTemplate(false, true);
  AddPictures(2);
  Publish();
  EXPECT_TRUE(generator.NoThumbnails());
  EXPECT_EQ(OutputFiles(), (Files{"images/p1.bmp", "images/p2.bmp", "index.html", "style.css"}));
  EXPECT_TRUE(std::filesystem::is_directory(box.File("out/thums")));
  EXPECT_EQ(test::ProbeLines(Out("index.html"), "CELL").at(0).at("image_href"), "images/p1.bmp");
  for (const Report& report : reports) {
    EXPECT_NE(report.Msg, "Creating thumbnails");
    EXPECT_NE(report.Msg, "Creating image pages");
  }
}

TEST_F(PageGenFilesTest, SpecialTemplateFilesAreSkippedInAnyLetterCase) {
  box.Write("Templates/Probe/Settings.INI", "");
  box.Write("Templates/Probe/shot.jpg", "");
  box.Write("Templates/Probe/.hidden", "");
  Publish();
  EXPECT_EQ(OutputFiles(), (Files{"shot.jpg", "style.css"}));
}

TEST_F(PageGenFilesTest, EmptyOutputFolderFailsBeforeWritingAnything) {
  gallery.SetOutputFolder("");
  AddPictures(1);
  try {
    Publish();
    FAIL() << "no error";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Unable to create directory");
  }
  EXPECT_FALSE(std::filesystem::exists("images"));
  EXPECT_TRUE(reports.empty());
}

TEST_F(PageGenFilesTest, MissingPageTemplateFailsAfterTheFolders) {
  gallery.SetTemplate("None");
  AddPictures(1);
  try {
    Publish();
    FAIL() << "no error";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Cannot open file " + box.File("Templates/None/page.html"));
  }
  EXPECT_TRUE(std::filesystem::is_directory(box.File("out/thums")));
  EXPECT_EQ(OutputFiles(), Files{});
}

// A template name the file system cannot even look up is a missing template.
TEST_F(PageGenFilesTest, UnreachableTemplateFolderIsAMissingPageTemplate) {
  const std::string name(300, 't');
  gallery.SetTemplate(name);
  AddPictures(1);
  try {
    Publish();
    FAIL() << "no error";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Cannot open file " + box.File("Templates/" + name + "/page.html"));
  }
  EXPECT_FALSE(generator.IsFrameset());
}

TEST_F(PageGenFilesTest, PageThatCannotBeWrittenEndsTheRun) {
  AddPictures(1);
  std::filesystem::create_directories(box.File("out/index.html"));
  try {
    Publish();
    FAIL() << "no error";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + box.File("out/index.html"));
  }
  EXPECT_FALSE(std::filesystem::exists(box.File("out/image_1.html")));
}

TEST_F(PageGenFilesTest, ThumbnailThatCannotBeWrittenEndsTheRun) {
  gallery.SetOverrideFiles(true);
  AddPictures(6);
  std::filesystem::create_directories(box.File("out/thums/th_p3.jpg"));
  try {
    Publish();
    FAIL() << "no error";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + box.File("out/thums/th_p3.jpg"));
  }
  EXPECT_EQ(OutputFiles(), (Files{"thums/th_p1.jpg", "thums/th_p2.jpg"}));
  std::filesystem::remove(box.File("out/thums/th_p3.jpg"));
  Publish();
  EXPECT_EQ(OutputFiles().size(), 20u);
}

// A copy keeps the orientation tag and is left as it is; the thumbnail is
// turned as viewers turn the photo.
TEST_F(PageGenFilesTest, ATurnedPhotoIsCopiedAsItIsAndItsThumbnailTurned) {
  const std::string photo = box.Write(
      "pictures/phone.jpg", test::WithApp1(test::MakeJpeg(test::CornerMarkedBitmap(160, 120)),
                                           test::ExifBlock({6})));
  Add(photo);
  Publish();
  EXPECT_EQ(Out("images/phone.jpg"), test::ReadBytes(photo));
  EXPECT_EQ(ImageSize("thums/th_phone.jpg"), QSize(72, 96));
}

// A full disk in the middle of a page: the run ends with the file system's
// message, and the page published before stays whole.
TEST_F(PageGenFilesTest, APageWriteFailingPartWayLeavesThePreviousPageWhole) {
  AddPictures(3);
  Publish();
  const std::string previous = Out("index.html");
  const Files published = OutputFiles();
  ASSERT_GT(previous.size(), 400u);
  gallery.SetTitle("Published again");
  try {
    test::ScopedFileSizeLimit limit(200);
    Publish();
    FAIL() << "no error";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), std::error_code(EFBIG, std::system_category()).message());
  }
  EXPECT_EQ(Out("index.html"), previous);
  EXPECT_EQ(OutputFiles(), published) << "no unfinished file is left";
}

TEST_F(PageGenFilesTest, FailedCopyIsNoError) {
  Add(box.File("pictures/missing.bmp"));
  Publish();
  EXPECT_EQ(reports.at(1), (Report{"Copying images", 0}));
  EXPECT_FALSE(std::filesystem::exists(box.File("out/images/missing.bmp")));
  EXPECT_TRUE(std::filesystem::exists(box.File("out/thums/th_missing.jpg")));
  EXPECT_EQ(test::ProbeLines(Out("index.html"), "CELL").at(0).at("image_size"), "0 byte");
}

TEST_F(PageGenFilesTest, NamesCannotLeadWritesOutOfTheOutputFolder) {
  AddPictures(1);
  gallery.SetIconPrefix("../../");
  EXPECT_THROW(Publish(), EFCreateError);
  gallery.SetIconPrefix("th_");
  gallery.SetFirstPageName("../escaped.html");
  EXPECT_THROW(Publish(), EFCreateError);
  EXPECT_FALSE(std::filesystem::exists(box.File("escaped.html")));
  EXPECT_FALSE(std::filesystem::exists(box.File("p1.jpg")));
}

// Each file linked into the output folder from elsewhere gives way to the
// published file; the files the links led to stay as they were.
TEST_F(PageGenFilesTest, FileLinksInTheOutputFolderAreReplacedAndTheFilesElsewhereKept) {
  gallery.SetOverrideFiles(true);
  Add(Picture("pictures/a.bmp"));
  Add(Picture("pictures/c.bmp"));
  const Files linked = {"image_1.html", "images/c.bmp", "index.html", "style.css", "thums/th_a.jpg"};
  for (const std::string& name : linked) {
    std::filesystem::create_directories(std::filesystem::path(box.File("out/" + name)).parent_path());
    std::filesystem::create_symlink(box.Write("elsewhere/" + name, "kept"), box.File("out/" + name));
  }
  Publish();
  for (const std::string& name : linked) {
    EXPECT_EQ(test::ReadBytes(box.File("elsewhere/" + name)), "kept") << name;
    EXPECT_FALSE(std::filesystem::is_symlink(box.File("out/" + name))) << name;
  }
  EXPECT_EQ(OutputFiles(), (Files{"image_1.html", "image_2.html", "images/a.bmp", "images/c.bmp", "index.html",
                                  "style.css", "thums/th_a.jpg", "thums/th_c.jpg"}));
  EXPECT_EQ(Out("images/c.bmp"), test::ReadBytes(box.File("pictures/c.bmp")));
}

TEST_F(PageGenFilesTest, NeverWritesOverThePictures) {
  gallery.SetIsConvertImages(true);
  gallery.SetOverrideFiles(true);
  gallery.SetIconPrefix("");
  gallery.SetIconsFolder("images");
  // The thumbnail and the converted copy of a.bmp would both be "a.jpg",
  // which is the gallery's second picture.
  const std::string bmp = Picture("pictures/a.bmp");
  const std::string jpg = box.Write("out/images/a.jpg", "the user's own picture");
  Add(bmp);
  Add(jpg);
  const std::string bmpBytes = test::ReadBytes(bmp);
  const std::string jpgBytes = test::ReadBytes(jpg);
  Publish();
  EXPECT_EQ(test::ReadBytes(bmp), bmpBytes);
  EXPECT_EQ(test::ReadBytes(jpg), jpgBytes);
}

}  // namespace
}  // namespace tessalune

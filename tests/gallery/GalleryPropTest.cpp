// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "Errors.h"
#include "GalleryProp.h"
#include "GalleryTestSupport.h"
#include "ScriptedPrompt.h"
#include "TestSupport.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

std::string DuplicateQuestion(const std::string& fileName) {
  return "The file \"" + fileName + "\" already exists in gallery. Do you want to add copy?";
}

std::vector<std::string> FileNames(const TPicGallery& gallery) {
  std::vector<std::string> names;
  for (int i = 0; i < gallery.GetImageCount(); ++i) names.push_back(gallery.GetImageFile(i)->FileName);
  return names;
}

TEST(PicGallery, ANewGalleryHoldsNothingAndClearGivesTheDefaults) {
  TPicGallery gallery;
  EXPECT_EQ(gallery.Template(), "");
  EXPECT_EQ(gallery.IconWidth(), 0);
  EXPECT_FALSE(gallery.IsCreateImagePages());
  EXPECT_EQ(gallery.FDuplicateAnswer, 0);

  gallery.Clear();
  EXPECT_EQ(gallery.GetImageCount(), 0);
  EXPECT_EQ(gallery.OutputFolder(), "");
  EXPECT_EQ(gallery.Template(), "Grid");
  EXPECT_EQ(gallery.IconsFolder(), "thums");
  EXPECT_EQ(gallery.ImagesFolder(), "images");
  EXPECT_EQ(gallery.FirstPageName(), "index.html");
  EXPECT_EQ(gallery.ImageQuality(), 85);
  EXPECT_EQ(gallery.IconHeight(), 96);
  EXPECT_EQ(gallery.TableColor(), 0xF5F5F5);
  EXPECT_EQ(gallery.LinkColor(), 0xFF0000);
  EXPECT_EQ(gallery.BackgroundColor(), 0xFFFFFF);
  EXPECT_TRUE(gallery.LaunchBrouser());
  EXPECT_FALSE(gallery.ShowImageCaption());
  EXPECT_FALSE(gallery.IsCopyImages() || gallery.IsNotOverrideImages() || gallery.IsNotOverrideIcons());
  EXPECT_EQ(gallery.ImThumbLink(), "Thumbnails");
  EXPECT_EQ(TPicGallery::Settings().size(), 67u);
  EXPECT_STREQ(TPicGallery::Settings().front().Name, "OutputFolder");
  EXPECT_STREQ(TPicGallery::Settings().back().Name, "ImNextLink");
}

TEST(PicGallery, ClearEmptiesThePicturesAndLeavesTheFileOnlySettingsAndTheAnswer) {
  TPicGallery gallery;
  gallery.AddFile("/a.jpg");
  gallery.SetIsCopyImages(true);
  gallery.SetIconWidth(1);
  gallery.FDuplicateAnswer = mrNoToAll;
  gallery.Clear();
  EXPECT_EQ(gallery.GetImageCount(), 0);
  EXPECT_TRUE(gallery.IsCopyImages());
  EXPECT_EQ(gallery.IconWidth(), 128);
  EXPECT_EQ(gallery.FDuplicateAnswer, mrNoToAll);
}

TEST(PicGallery, TheFiveFolderSettingsAreTrimmedTheOthersKeptAsGiven) {
  TPicGallery gallery;
  gallery.SetOutputFolder(" \t/web/out\t \n");
  gallery.SetIconsFolder(std::string("\0th\x01", 4));
  gallery.SetPagesFolder("  ");
  gallery.SetImagesFolder(" img ");
  gallery.SetFirstPageName(" a b.html ");
  gallery.SetIconPrefix(" th_ ");
  EXPECT_EQ(gallery.OutputFolder(), "/web/out");
  EXPECT_EQ(gallery.IconsFolder(), "th");
  EXPECT_EQ(gallery.PagesFolder(), "");
  EXPECT_EQ(gallery.ImagesFolder(), "img");
  EXPECT_EQ(gallery.FirstPageName(), "a b.html");
  EXPECT_EQ(gallery.IconPrefix(), " th_ ");
}

TEST(PicGallery, GetImageFileOutsideTheListRaisesTheListIndexError) {
  TPicGallery gallery;
  gallery.AddFile("/a.jpg");
  EXPECT_EQ(gallery.GetImageFile(0)->FileName, "/a.jpg");
  try {
    gallery.GetImageFile(1);
    FAIL() << "no exception";
  } catch (const EListError& error) {
    EXPECT_EQ(error.Message(), "List index out of bounds (1)");
  }
  EXPECT_THROW(gallery.GetImageFile(-1), EListError);
}

TEST(PicGallery, PicturesMoveAndGoByTheirIndex) {
  TPicGallery gallery;
  for (const char* name : {"/a", "/b", "/c"}) gallery.AddFile(name);
  gallery.GetImageFile(0)->SetIndex(2);
  EXPECT_EQ(FileNames(gallery), (std::vector<std::string>{"/b", "/c", "/a"}));
  EXPECT_EQ(gallery.GetImageFile(2)->Index(), 2);
  gallery.GetImageFile(1)->SetIndex(-1);
  EXPECT_THROW(gallery.GetImageFile(1)->SetIndex(3), EListError);
  gallery.ImageFiles().Delete(0);
  EXPECT_EQ(FileNames(gallery), (std::vector<std::string>{"/c", "/a"}));
}

TEST(PicGallery, TheChecksumFollowsTheStreamedContentOnly) {
  TPicGallery gallery;
  test::FillExampleGallery(gallery);
  const std::int32_t before = gallery.GetCheckSum();
  gallery.GetImageFile(0)->WorkFileName = "/out/images/beach.jpg";
  EXPECT_EQ(gallery.GetCheckSum(), before);

  const auto changes = [&](auto edit) {
    TPicGallery copy;
    test::FillExampleGallery(copy);
    edit(copy);
    return copy.GetCheckSum() != before;
  };
  EXPECT_TRUE(changes([](TPicGallery& g) { g.SetIconWidth(129); }));
  EXPECT_TRUE(changes([](TPicGallery& g) { g.SetHideBanner(true); }));
  EXPECT_TRUE(changes([](TPicGallery& g) { g.GetImageFile(1)->Caption = "x"; }));
  EXPECT_TRUE(changes([](TPicGallery& g) { g.GetImageFile(1)->SetIndex(0); }));
  EXPECT_TRUE(changes([](TPicGallery& g) { g.AddFile("/new.jpg"); }));
}

TEST(PicGallery, TheChecksumSumsLittleEndianWordsAndPadsTheTailWithZeros) {
  std::set<std::size_t> tails;
  for (std::size_t length = 1; length <= 4; ++length) {
    TPicGallery gallery;
    gallery.SetTitle(std::string(length, '\xFF'));
    const std::string binary = gallery.WriteBinary();
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < binary.size(); ++i) {
      sum += std::uint32_t(static_cast<unsigned char>(binary[i])) << (8 * (i % 4));
    }
    EXPECT_EQ(gallery.GetCheckSum(), std::int32_t(sum));
    tails.insert(binary.size() % 4);
  }
  EXPECT_EQ(tails.size(), 4u) << "every tail length is covered";
}

// Duplicate handling, with real files for the size comparison.
class Duplicates : public ::testing::Test {
protected:
  std::string Picture(const std::string& name, std::size_t size) {
    return sandbox_.Write(name, std::string(size, 'p'));
  }

  test::Sandbox sandbox_;
  test::ScriptedPrompt prompt_;
  TPicGallery gallery_;
};

TEST_F(Duplicates, ThePathInOtherLetterCaseAsksWithTheConfirmationQuestion) {
  const std::string a = Picture("Pics/a.jpg", 10);
  gallery_.AddFile(a);
  prompt_.Answer(mrNo);
  std::string upper = a;
  upper.replace(upper.size() - 5, 5, "A.JPG");
  EXPECT_EQ(gallery_.AddFile(upper), nullptr);
  ASSERT_EQ(prompt_.Questions().size(), 1u);
  const auto& question = prompt_.Questions()[0];
  EXPECT_EQ(question.Message, DuplicateQuestion(upper));
  EXPECT_EQ(question.Kind, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(question.Buttons, unsigned(mbYes | mbNo | mbCancel | mbNoToAll | mbYesToAll));
  EXPECT_EQ(question.HelpContext, 0);
  EXPECT_EQ(gallery_.FDuplicateAnswer, mrNo);
  prompt_.Answer(mrYes);
  EXPECT_NE(gallery_.AddFile(a), nullptr);
  EXPECT_EQ(gallery_.GetImageCount(), 2);
}

TEST_F(Duplicates, TheSameNameElsewhereCountsOnlyWithTheSameSize) {
  gallery_.AddFile(Picture("one/x.jpg", 10));
  EXPECT_NE(gallery_.AddFile(Picture("two/x.jpg", 11)), nullptr);
  prompt_.Answer(mrCancel);
  EXPECT_EQ(gallery_.AddFile(Picture("three/X.JPG", 11)), nullptr);
  EXPECT_EQ(prompt_.Questions().size(), 1u);
  EXPECT_EQ(gallery_.FDuplicateAnswer, mrCancel);
}

TEST_F(Duplicates, TwoMissingFilesOfTheSameNameCountAsTheSame) {
  gallery_.AddFile(sandbox_.File("gone/a.jpg"));
  prompt_.Answer(mrNo);
  EXPECT_EQ(gallery_.AddFile(sandbox_.File("lost/a.jpg")), nullptr);
  EXPECT_EQ(gallery_.FindFile(sandbox_.File("lost/b.jpg")), nullptr);
}

TEST_F(Duplicates, ABatchIsAddedInCaseInsensitiveOrderWhateverTheGivenOrder) {
  gallery_.AddFiles({"/p/c.jpg", "/p/B.jpg", "/p/\xC3\xA4.jpg", "/p/a.jpg", "/p/\xC3\x84h.jpg"});
  EXPECT_EQ(FileNames(gallery_), (std::vector<std::string>{"/p/a.jpg", "/p/B.jpg", "/p/c.jpg",
                                                          "/p/\xC3\xA4.jpg", "/p/\xC3\x84h.jpg"}));
}

TEST_F(Duplicates, NoToAllSkipsTheLaterDuplicatesButAddsNewPictures) {
  gallery_.AddFiles({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
  prompt_.Answer(mrNoToAll);
  gallery_.AddFiles({"/p/A.jpg", "/p/B.jpg", "/p/d.jpg", "/p/c.jpg"});
  EXPECT_EQ(prompt_.Questions().size(), 1u);
  EXPECT_EQ(FileNames(gallery_),
            (std::vector<std::string>{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"}));
  EXPECT_EQ(gallery_.FDuplicateAnswer, mrNoToAll);
}

TEST_F(Duplicates, YesToAllAddsEverythingThatFollowsWithoutAsking) {
  gallery_.AddFiles({"/p/a.jpg", "/p/b.jpg"});
  prompt_.Answer(mrYesToAll);
  gallery_.AddFiles({"/p/a.jpg", "/p/b.jpg", "/p/b.jpg"});
  EXPECT_EQ(prompt_.Questions().size(), 1u);
  EXPECT_EQ(gallery_.GetImageCount(), 5);
}

TEST_F(Duplicates, CancelEndsTheBatchAndKeepsWhatWasAdded) {
  gallery_.AddFiles({"/p/b.jpg"});
  prompt_.Answer(mrCancel);
  gallery_.AddFiles({"/p/c.jpg", "/p/b.jpg", "/p/a.jpg"});
  EXPECT_EQ(FileNames(gallery_), (std::vector<std::string>{"/p/b.jpg", "/p/a.jpg"}));
}

TEST_F(Duplicates, ImportAddsThePicturesWithDescriptionsAndAsksForEachDuplicate) {
  TPicGallery other;
  other.Clear();
  other.SetTitle("not taken over");
  for (const char* name : {"/p/x.jpg", "/p/a.jpg", "/p/y.jpg"}) other.AddFile(name)->Caption = name;
  const std::string file = sandbox_.File("other.gmf");
  other.SaveToFile(file);

  gallery_.Clear();
  gallery_.AddFiles({"/p/a.jpg", "/p/x.jpg"});
  prompt_.Answer(mrCancel);
  gallery_.AddFiles({"/p/a.jpg"});
  EXPECT_EQ(gallery_.FDuplicateAnswer, mrCancel);

  prompt_.ChooseFiles({file});
  prompt_.Answer(mrYes);
  prompt_.Answer(mrNo);
  gallery_.Import();
  ASSERT_EQ(prompt_.OpenRequests().size(), 1u);
  EXPECT_EQ(prompt_.OpenRequests()[0].Title, "Import");
  EXPECT_EQ(prompt_.OpenRequests()[0].Filter, "Gallery Files|*.gmf|All Files|*.*");
  EXPECT_EQ(prompt_.Questions().back().Message, DuplicateQuestion("/p/a.jpg"));
  EXPECT_EQ(FileNames(gallery_),
            (std::vector<std::string>{"/p/a.jpg", "/p/x.jpg", "/p/x.jpg", "/p/y.jpg"}));
  EXPECT_EQ(gallery_.GetImageFile(2)->Caption, "/p/x.jpg");
  EXPECT_EQ(gallery_.GetImageFile(3)->Caption, "/p/y.jpg");
  EXPECT_EQ(gallery_.Title(), "");
  EXPECT_TRUE(prompt_.Exhausted());
}

TEST_F(Duplicates, ACancelledImportDialogChangesNothing) {
  gallery_.FDuplicateAnswer = mrCancel;
  prompt_.CancelOpen();
  gallery_.Import();
  EXPECT_EQ(gallery_.FDuplicateAnswer, mrCancel);
  EXPECT_EQ(gallery_.GetImageCount(), 0);
}

TEST_F(Duplicates, ImportingACorruptedFileAddsNothing) {
  prompt_.ChooseFiles({sandbox_.Write("bad.gmf", "object TPicGallery ImageFiles = <item end> Oops")});
  try {
    gallery_.Import();
    FAIL() << "no exception";
  } catch (const EReadError& error) {
    EXPECT_EQ(error.Message(), "The gallery file is corrupted");
  }
  EXPECT_EQ(gallery_.GetImageCount(), 0);
}

}  // namespace
}  // namespace tessalune

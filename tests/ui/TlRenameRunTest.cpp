// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRenameRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "RenameTestSupport.h"
#include "ScriptedPrompt.h"
#include "StringLib.h"
#include "TestNames.h"

namespace tessalune {
namespace {

using test::Files;
using test::Names;
using ::testing::IsEmpty;

const TRenameOptions kNumbered{.Rename = true};
const TRenameOptions kJpegToJpg{.ChangeExt = true, .OldExt = "jpeg", .NewExt = "jpg"};

// One run on real files: what the folder holds before, the options and the
// answers to the overwrite questions; then every file and every gallery entry.
struct RunCase {
  const char* Title;
  std::vector<std::string> Pictures;  // a name given twice is one file listed twice
  std::vector<std::string> Others;    // files of no picture; a trailing "/" makes a folder
  TRenameOptions Options;
  std::vector<TModalResult> Answers;
  Files Expected;
  Names Listed;
};

void PrintTo(const RunCase& c, std::ostream* out) { *out << c.Title; }

class RenameRunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RenameRunTest, LeavesEveryFileUnderANameTheGalleryLists) {
  const RunCase& c = GetParam();
  test::RenameSandbox folder;
  std::set<std::string> written;
  for (const std::string& name : c.Pictures)
    written.insert(name).second ? folder.AddPicture(name) : folder.AddEntry(name);
  for (const std::string& name : c.Others) folder.AddOther(name);
  test::ScriptedPrompt prompt;
  for (const TModalResult answer : c.Answers) prompt.Answer(answer);

  TRenameRun(folder.Gallery, c.Options).RenameFiles();

  EXPECT_EQ(folder.Files(), c.Expected);
  EXPECT_EQ(folder.Names(), c.Listed);
  EXPECT_EQ(prompt.Questions().size(), c.Answers.size());
  EXPECT_THAT(folder.Outside(), IsEmpty());
  for (int i = 0; i < folder.Gallery.GetImageCount(); ++i) {
    EXPECT_EQ(folder.Gallery.GetImageFile(i)->WorkFileName,
              c.Options.Rename ? folder.Path(c.Pictures[std::size_t(i)]) : "");
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RenameRunTest, ::testing::Values(
    RunCase{"numbers in gallery order, extensions kept", {"photo.JPG", "b.gif", "c.jpeg"}, {},
            kNumbered, {},
            {{"image001.JPG", "photo.JPG"}, {"image002.gif", "b.gif"}, {"image003.jpeg", "c.jpeg"}},
            {"image001.JPG", "image002.gif", "image003.jpeg"}},
    RunCase{"lower case takes the numbered name", {"photo.JPG"}, {},
            {.LowerCase = true, .Rename = true}, {},
            {{"image001.jpg", "photo.JPG"}}, {"image001.jpg"}},
    RunCase{"extensions alone, without temporary names", {"a.jpeg", "b.JPG", "c.JPEG"}, {},
            kJpegToJpg, {},
            {{"a.jpg", "a.jpeg"}, {"b.JPG", "b.JPG"}, {"c.jpg", "c.JPEG"}},
            {"a.jpg", "b.JPG", "c.jpg"}},
    RunCase{"lower case alone asks nothing", {"IMG_0001.JPG"}, {}, {.LowerCase = true}, {},
            {{"img_0001.jpg", "IMG_0001.JPG"}}, {"img_0001.jpg"}},
    RunCase{"lower case never replaces another file of that name", {"IMG_0001.JPG"},
            {"img_0001.jpg"}, {.LowerCase = true}, {mrOk},
            {{"IMG_0001.JPG", "IMG_0001.JPG"}, {"img_0001.jpg", "other img_0001.jpg"}},
            {"IMG_0001.JPG"}},
    RunCase{"a picture takes the earlier name of a later one", {"b.jpg", "image001.jpg"}, {},
            kNumbered, {},
            {{"image001.jpg", "b.jpg"}, {"image002.jpg", "image001.jpg"}},
            {"image001.jpg", "image002.jpg"}},
    RunCase{"two pictures swap names", {"image002.jpg", "image001.jpg"}, {}, kNumbered, {},
            {{"image001.jpg", "image002.jpg"}, {"image002.jpg", "image001.jpg"}},
            {"image001.jpg", "image002.jpg"}},
    RunCase{"an empty gallery", {}, {"image001.jpg"}, kNumbered, {},
            {{"image001.jpg", "other image001.jpg"}}, {}},
    RunCase{"Yes replaces an existing file", {"a.jpg"}, {"image001.jpg"}, kNumbered, {mrYes},
            {{"image001.jpg", "a.jpg"}}, {"image001.jpg"}},
    RunCase{"No keeps it, and the picture goes back", {"a.jpg", "b.jpg"}, {"image001.jpg"},
            kNumbered, {mrNo},
            {{"a.jpg", "a.jpg"}, {"image001.jpg", "other image001.jpg"}, {"image002.jpg", "b.jpg"}},
            {"a.jpg", "image002.jpg"}},
    RunCase{"No without numbering leaves the picture", {"a.jpeg"}, {"a.jpg"}, kJpegToJpg, {mrNo},
            {{"a.jpeg", "a.jpeg"}, {"a.jpg", "other a.jpg"}}, {"a.jpeg"}},
    RunCase{"Yes to All answers the rest of the run", {"a.jpg", "b.jpg", "c.jpg"},
            {"image001.jpg", "image003.jpg"}, kNumbered, {mrYesToAll},
            {{"image001.jpg", "a.jpg"}, {"image002.jpg", "b.jpg"}, {"image003.jpg", "c.jpg"}},
            {"image001.jpg", "image002.jpg", "image003.jpg"}},
    RunCase{"Cancel stops before the next picture", {"a.jpg", "b.jpg", "c.jpg"},
            {"image002.jpg"}, kNumbered, {mrCancel},
            {{"image001.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}, {"c.jpg", "c.jpg"},
             {"image002.jpg", "other image002.jpg"}},
            {"image001.jpg", "b.jpg", "c.jpg"}},
    RunCase{"a ring of names passes through the first free temporary name",
            {"image002.jpg", "image001.jpg"}, {"image001_temp0.jpg", "image001_temp1.jpg/"},
            kNumbered, {},
            {{"image001_temp0.jpg", "other image001_temp0.jpg"}, {"image001_temp1.jpg", "<folder>"},
             {"image001.jpg", "image002.jpg"}, {"image002.jpg", "image001.jpg"}},
            {"image001.jpg", "image002.jpg"}},
    RunCase{"a picture listed twice moves once", {"a.jpg", "b.jpg", "a.jpg"}, {}, kNumbered, {},
            {{"image001.jpg", "a.jpg"}, {"image002.jpg", "b.jpg"}},
            {"image001.jpg", "image002.jpg", "image001.jpg"}},
    RunCase{"a picture listed twice moves once without numbering", {"A.JPG", "A.JPG"}, {},
            {.LowerCase = true}, {}, {{"a.jpg", "A.JPG"}}, {"a.jpg", "a.jpg"}},
    RunCase{"after Cancel a later entry still follows its file", {"a.jpg", "b.jpg", "a.jpg"},
            {"image002.jpg"}, kNumbered, {mrCancel},
            {{"image001.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}, {"image002.jpg", "other image002.jpg"}},
            {"image001.jpg", "b.jpg", "image001.jpg"}},
    RunCase{"new names that look like temporary names", {"z.jpg", "a.jpg"}, {},
            {.Rename = true, .Prefix = "a_temp", .Digits = 1, .Start = 0}, {},
            {{"a_temp0.jpg", "z.jpg"}, {"a_temp1.jpg", "a.jpg"}}, {"a_temp0.jpg", "a_temp1.jpg"}},
    RunCase{"a prefix naming a folder renames nothing", {"a.jpg"}, {},
            {.Rename = true, .Prefix = "../escaped"}, {mrOk}, {{"a.jpg", "a.jpg"}}, {"a.jpg"}},
    RunCase{"a name too long for the folder", {"a.jpg", "b.jpg"}, {},
            {.Rename = true, .Prefix = std::string(300, 'p'), .Digits = 1}, {mrOk},
            {{"a.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}}, {"a.jpg", "b.jpg"}},
    RunCase{"a ring whose temporary name would be too long renames nothing",
            {std::string(250, 'p') + "2.jpg", std::string(250, 'p') + "1.jpg"}, {},
            {.Rename = true, .Prefix = std::string(250, 'p'), .Digits = 1}, {mrOk},
            {{std::string(250, 'p') + "1.jpg", std::string(250, 'p') + "1.jpg"},
             {std::string(250, 'p') + "2.jpg", std::string(250, 'p') + "2.jpg"}},
            {std::string(250, 'p') + "2.jpg", std::string(250, 'p') + "1.jpg"}},
    RunCase{"a folder under the new name is no file to replace", {"a.jpg"}, {"image001.jpg/"},
            kNumbered, {mrOk}, {{"a.jpg", "a.jpg"}, {"image001.jpg", "<folder>"}}, {"a.jpg"}},
    // image001.jpg keeps its name after No, so b.jpg cannot take it.
    RunCase{"a picture whose new name is kept after No keeps its own",
            {"b.jpg", "image001.jpg"}, {"image002.jpg"}, kNumbered, {mrNo, mrOk},
            {{"b.jpg", "b.jpg"}, {"image001.jpg", "image001.jpg"},
             {"image002.jpg", "other image002.jpg"}},
            {"b.jpg", "image001.jpg"}}),
    test::PrintedName());
// clang-format on

// A run in which a new name is the file of another picture of the gallery,
// every question answered with Yes to All. Pictures come first, then the
// symbolic links listed as pictures, each with the name it leads to.
struct YieldCase {
  const char* Title;
  std::vector<std::string> Pictures;
  std::vector<std::pair<std::string, std::string>> Links;
  std::vector<std::string> Others;  // files of no picture
  TRenameOptions Options;
  std::vector<std::string> Asked;  // the files the overwrite question names
  Names Kept;                      // the pictures the warning names
};

void PrintTo(const YieldCase& c, std::ostream* out) { *out << c.Title; }

class RenameYieldTest : public ::testing::TestWithParam<YieldCase> {};

TEST_P(RenameYieldTest, NoPictureLosesItsFileToAnotherAndOnlyForeignFilesAreAskedAbout) {
  const YieldCase& c = GetParam();
  test::RenameSandbox folder;
  for (const std::string& name : c.Pictures) folder.AddPicture(name);
  for (const std::string& name : c.Others) folder.AddOther(name);
  for (const auto& [name, target] : c.Links) {
    std::filesystem::create_symlink(target, folder.Path(name));
    folder.AddEntry(name);
  }
  std::vector<std::string> bytes;
  for (int i = 0; i < folder.Gallery.GetImageCount(); ++i)
    bytes.push_back(test::ReadBytes(folder.Gallery.GetImageFile(i)->FileName));
  test::ActingPrompt prompt([](const TMessageDlgRequest& request) {
    return request.Kind == TMsgDlgType::mtConfirmation ? mrYesToAll : mrOk;
  });

  TRenameRun(folder.Gallery, c.Options).RenameFiles();

  for (int i = 0; i < folder.Gallery.GetImageCount(); ++i)
    EXPECT_EQ(test::ReadBytes(folder.Gallery.GetImageFile(i)->FileName), bytes[std::size_t(i)]) << i;
  std::vector<std::string> expected;
  for (const std::string& name : c.Asked)
    expected.push_back("The file \"" + folder.Path(name) + "\" already exists. Override ?");
  std::vector<std::string> kept;
  for (const std::string& name : c.Kept) kept.push_back(folder.Path(name));
  expected.push_back("These pictures kept their names, because each new name is the file of "
                     "another picture of the gallery:\n" + NameLines(kept));
  std::vector<std::string> shown;
  for (const TMessageDlgRequest& message : prompt.Messages()) shown.push_back(message.Message);
  ASSERT_EQ(shown, expected);
  EXPECT_EQ(prompt.Messages().back().Kind, TMsgDlgType::mtWarning);
  EXPECT_EQ(prompt.Messages().back().Buttons, unsigned(mbOK));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RenameYieldTest, ::testing::Values(
    YieldCase{"a new extension names another picture", {"a.jpeg", "a.jpg"}, {}, {}, kJpegToJpg,
              {}, {"a.jpeg"}},
    YieldCase{"a name the run has just given, after Yes to All for a foreign file",
              {"s.jpeg", "a.jpeg", "a.JPEG"}, {}, {"s.jpg"}, kJpegToJpg, {"s.jpg"}, {"a.JPEG"}},
    YieldCase{"a file another picture reaches through a symbolic link", {"a.jpeg"},
              {{"l.jpg", "a.jpg"}}, {"a.jpg"}, kJpegToJpg, {}, {"a.jpeg"}}),
    test::PrintedName());
// clang-format on

TEST(RenameRun, TheOverwriteQuestionNamesTheFileAndYesToAllLastsOneRun) {
  test::RenameSandbox folder;
  folder.AddPicture("a.jpg");
  folder.AddOther("image001.jpg");
  test::ScriptedPrompt prompt;
  prompt.Answer(mrYesToAll);
  TRenameRun run(folder.Gallery, kNumbered);
  run.RenameFiles();
  EXPECT_EQ(run.OverwriteAnswer, mrYesToAll);
  folder.AddOther("x001.jpg");
  prompt.Answer(mrNo);
  TRenameRun(folder.Gallery, {.Rename = true, .Prefix = "x"}).RenameFiles();
  ASSERT_EQ(prompt.Questions().size(), 2u);
  const TMessageDlgRequest& question = prompt.Questions()[1];
  EXPECT_EQ(question.Message,
            "The file \"" + folder.Path("x001.jpg") + "\" already exists. Override ?");
  EXPECT_EQ(question.Kind, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(question.Buttons, unsigned(mbYes | mbNo | mbCancel | mbYesToAll));
  EXPECT_EQ(question.HelpContext, 0);
  EXPECT_EQ(folder.Names(), (Names{"image001.jpg"}));
}

// Catches a symbolic link left leading to a name the run gave away, and a
// hard link under the new name leaving a temporary name behind. b.jpg leads
// to a.jpg, so both keep their names; d.jpg is c.jpg's hard link and moves
// with it; image005.jpg is e.jpg's, so e.jpg keeps its name; f.jpg leads to
// a file of no picture and moves. Only the closing warning is shown.
TEST(RenameRun, AmongLinksEveryPictureOpensItsOwnBytesAndNoTemporaryNameStays) {
  test::RenameSandbox folder;
  for (const char* name : {"a.jpg", "c.jpg", "e.jpg"}) folder.AddOther(name);
  folder.AddOther("x.jpg");
  std::filesystem::create_symlink("a.jpg", folder.Path("b.jpg"));
  std::filesystem::create_hard_link(folder.Path("c.jpg"), folder.Path("d.jpg"));
  std::filesystem::create_hard_link(folder.Path("e.jpg"), folder.Path("image005.jpg"));
  std::filesystem::create_symlink("x.jpg", folder.Path("f.jpg"));
  std::vector<std::string> bytes;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.jpg"}) {
    folder.AddEntry(name);
    bytes.push_back(test::ReadBytes(folder.Path(name)));
  }
  test::ScriptedPrompt prompt;
  prompt.Answer(mrOk);

  TRenameRun(folder.Gallery, kNumbered).RenameFiles();

  EXPECT_EQ(folder.Names(),
            (Names{"a.jpg", "b.jpg", "image003.jpg", "image003.jpg", "e.jpg", "image006.jpg"}));
  for (int i = 0; i < folder.Gallery.GetImageCount(); ++i)
    EXPECT_EQ(test::ReadBytes(folder.Gallery.GetImageFile(i)->FileName), bytes[std::size_t(i)]) << i;
  for (const auto& [name, content] : folder.Files())
    EXPECT_EQ(name.find("_temp"), std::string::npos) << name;
  ASSERT_EQ(prompt.Questions().size(), 1u);
  EXPECT_EQ(prompt.Questions()[0].Kind, TMsgDlgType::mtWarning);
}

TEST(RenameRun, AnErrorWithOnePictureIsShownAsAWarningAndTheRunGoesOn) {
  test::RenameSandbox folder;
  folder.AddPicture("a.jpg");
  folder.AddPicture("b.jpg");
  folder.AddOther("image001.jpg");
  test::ActingPrompt prompt([](const TMessageDlgRequest& request) -> TModalResult {
    if (request.Kind == TMsgDlgType::mtConfirmation)
      throw std::runtime_error("No screen to ask on");
    return mrOk;
  });
  TRenameRun(folder.Gallery, kNumbered).RenameFiles();
  ASSERT_EQ(prompt.Messages().size(), 2u);
  const TMessageDlgRequest& warning = prompt.Messages()[1];
  EXPECT_EQ(warning.Message, "No screen to ask on");
  EXPECT_EQ(warning.Kind, TMsgDlgType::mtWarning);
  EXPECT_EQ(warning.Buttons, unsigned(mbOK));
  EXPECT_EQ(folder.Files(), (Files{{"a.jpg", "a.jpg"},
                                   {"image001.jpg", "other image001.jpg"},
                                   {"image002.jpg", "b.jpg"}}));
  EXPECT_EQ(folder.Names(), (Names{"a.jpg", "image002.jpg"}));
}

}  // namespace
}  // namespace tessalune

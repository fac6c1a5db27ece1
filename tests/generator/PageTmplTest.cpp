// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "Errors.h"
#include "Globals.h"
#include "PageTmpl.h"
#include "Random.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

// The "Created by" line with the given blank counts.
std::string BannerLine(int before, int after) {
  return std::string("<!-- Banner --><div style=\"margin-top: 40px; text-align: center; color: #909090; "
                     "font-size: 8pt; font-family: Verdana;\"><hr width=400>Created by ") +
         std::string(size_t(before), ' ') + "<a style=\"color: #909090;\" href=\"" + kProductWebPage +
         "\">Tessalune</a> " + std::string(size_t(after), ' ') + "</div>";
}

// The banner that the next save draws after RandSeed(seed).
std::string NextBanner(std::uint32_t seed) {
  RandSeed(seed);
  const int before = Random(5);
  const int after = Random(5);
  RandSeed(seed);
  return BannerLine(before, after);
}

class PageTemplateTest : public ::testing::Test {
protected:
  // Loads the text as a template file.
  void Load(const std::string& text) { page.LoadFromFile(box.Write("page.html", text)); }
  // The section filled from the current table, on its own.
  std::string Filled(TTemplateSection section) {
    page.Clear();
    page.AddSection(section);
    return page.Output();
  }

  test::Sandbox box;
  TPageTemplate page;
};

struct CutCase {
  const char* name;
  const char* text;
  const char* head;
  const char* rowStart;
  const char* cell;
  const char* rowEnd;
  const char* tail;
};

class TemplateCuts : public PageTemplateTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(TemplateCuts, SectionsLieBetweenTheMarkersInFileOrder) {
  const CutCase& c = GetParam();
  Load(c.text);
  EXPECT_EQ(Filled(tsHead), c.head);
  EXPECT_EQ(Filled(tsRowStart), c.rowStart);
  EXPECT_EQ(Filled(tsCell), c.cell);
  EXPECT_EQ(Filled(tsRowEnd), c.rowEnd);
  EXPECT_EQ(Filled(tsTail), c.tail);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, TemplateCuts,
    ::testing::Values(
        CutCase{"AllMarkers", "H{begin_row}R{begin_cell}C{end_cell}E{end_row}T", "H", "R", "C", "E", "T"},
        CutCase{"NoMarker", "<p>{title}</p>", "<p>{title}</p>", "", "", "", ""},
        CutCase{"Empty", "", "", "", "", "", ""},
        CutCase{"MissingEndCell", "H{begin_row}R{begin_cell}C{end_row}T", "H", "R", "C{end_row}T", "", ""},
        CutCase{"MarkerInOtherCase", "H{BEGIN_ROW}R{begin_cell}C", "H{BEGIN_ROW}R{begin_cell}C", "", "", "", ""},
        CutCase{"MisplacedMarker", "H{begin_cell}C{begin_row}R{end_cell}E{end_row}T", "H{begin_cell}C",
                "R{end_cell}E{end_row}T", "", "", ""},
        CutCase{"RepeatedMarker", "H{begin_row}A{begin_row}B{begin_cell}C{end_cell}{end_row}T{end_row}", "H",
                "A{begin_row}B", "C", "", "T{end_row}"},
        CutCase{"MarkersOnly", "{begin_row}{begin_cell}{end_cell}{end_row}", "", "", "", "", ""}),
    [](const auto& shape) { return std::string(shape.param.name); });

TEST_F(PageTemplateTest, BytesPassThroughUnchanged) {
  const char raw[] = "\xEF\xBB\xBFline\r\nnext\rlast\n\0\xFF\xC3(\xE9t\xC3\xA9";
  const std::string text(raw, sizeof raw - 1);
  Load(text);
  page.AddSection(tsHead);
  EXPECT_EQ(page.Output(), text);
  page.SaveToFile(box.File("out.html"), false);
  EXPECT_EQ(test::ReadBytes(box.File("out.html")), text);
}

TEST_F(PageTemplateTest, PlaceholdersAreFoundInAnyLetterCase) {
  Load("{title}|{TITLE}|{Title}|{ title }|{titles}|{other}|{caf\xC3\x89}");
  page.Properties().SetValue("title", "<b>&</b>");
  page.Properties().SetValue("caf\xC3\xA9", "x");
  EXPECT_EQ(Filled(tsHead), "<b>&</b>|<b>&</b>|<b>&</b>|{ title }|{titles}|{other}|x");
}

TEST_F(PageTemplateTest, AnEmptyValueRemovesItsPlaceholders) {
  Load("a{gone}b{GONE}c");
  page.Properties().SetValue("gone", "");
  EXPECT_EQ(Filled(tsHead), "abc");
}

TEST_F(PageTemplateTest, InsertedTextIsSearchedByLaterEntriesOnly) {
  Load("{first}|{second}");
  page.Properties().SetValue("first", "1{second}{first}");
  page.Properties().SetValue("second", "2{first}");
  EXPECT_EQ(Filled(tsHead), "12{first}{first}|2{first}");
}

TEST_F(PageTemplateTest, PlaceholdersFillEverySectionFromTheCurrentTable) {
  Load("<h1>{title}</h1>{begin_row}<tr>{begin_cell}<td>{name}</td>{end_cell}</tr>{end_row}</body>");
  page.Properties().SetValue("title", "Trip");
  page.AddSection(tsHead);
  page.AddSection(tsRowStart);
  for (const char* name : {"a.jpg", "b.jpg"}) {
    page.Properties().SetValue("name", name);
    page.AddSection(tsCell);
  }
  page.AddSection(tsRowEnd);
  page.AddSection(tsTail);
  EXPECT_EQ(page.Output(), "<h1>Trip</h1><tr><td>a.jpg</td><td>b.jpg</td></tr></body>");
}

TEST_F(PageTemplateTest, LoadingReplacesTheSectionsAndKeepsOutputAndTable) {
  Load("first {v}");
  page.Properties().SetValue("v", "1");
  page.AddSection(tsHead);
  Load("second {v}{begin_row}row");
  page.AddSection(tsHead);
  page.AddSection(tsRowStart);
  EXPECT_EQ(page.Output(), "first 1second 1row");
  EXPECT_EQ(page.Properties().Count(), 1);
}

TEST_F(PageTemplateTest, TheBannerGoesBeforeTheFirstClosingBodyTagInAnyCase) {
  Load("<body><!-- </body> -->text</BODY></html>");
  page.AddSection(tsHead);
  const std::string banner = NextBanner(11);
  page.SaveToFile(box.File("out.html"), true);
  const std::string expected = "<body><!-- " + banner + "</body> -->text</BODY></html>";
  EXPECT_EQ(page.Output(), expected);
  EXPECT_EQ(test::ReadBytes(box.File("out.html")), expected);
}

TEST_F(PageTemplateTest, WithoutAClosingBodyTagTheBannerComesLast) {
  Load("<p>no body end</bod>");
  page.AddSection(tsHead);
  const std::string banner = NextBanner(12);
  page.SaveToFile(box.File("out.html"), true);
  EXPECT_EQ(test::ReadBytes(box.File("out.html")), "<p>no body end</bod>" + banner);
}

TEST_F(PageTemplateTest, SavingTwiceWithoutClearWritesTheLineTwice) {
  Load("<p></body>");
  page.AddSection(tsHead);
  const std::string first = NextBanner(1);
  page.SaveToFile(box.File("one.html"), true);
  const std::string second = NextBanner(2);
  page.SaveToFile(box.File("two.html"), true);
  EXPECT_EQ(test::ReadBytes(box.File("one.html")), "<p>" + first + "</body>");
  EXPECT_EQ(test::ReadBytes(box.File("two.html")), "<p>" + first + second + "</body>");
}

TEST_F(PageTemplateTest, BlankCountsRunFromOneToFiveOnEitherSideOfTheLink) {
  Load("</body>");
  page.AddSection(tsHead);
  std::set<std::pair<int, int>> seen;
  RandSeed(5);
  for (int i = 0; i < 200; ++i) {
    page.Clear();
    page.AddSection(tsHead);
    page.SaveToFile(box.File("out.html"), true);
    const std::string& text = page.Output();
    const size_t by = text.find("Created by") + 10;
    const size_t link = text.find("<a ", by);
    const size_t end = text.find("</a>", link) + 4;
    const size_t div = text.find("</div>", end);
    ASSERT_EQ(text, BannerLine(int(link - by) - 1, int(div - end) - 1) + "</body>");
    seen.insert({int(link - by), int(div - end)});
  }
  EXPECT_EQ(seen.size(), 25u);
  EXPECT_EQ(seen.begin()->first, 1);
  EXPECT_EQ(seen.rbegin()->first, 5);
}

TEST_F(PageTemplateTest, ClearThenSaveWithoutBannerWritesAnEmptyFile) {
  Load("text");
  page.AddSection(tsHead);
  const std::string out = box.Write("out.html", "old contents");
  page.Clear();
  page.SaveToFile(out, false);
  EXPECT_EQ(test::ReadBytes(out), "");
}

TEST_F(PageTemplateTest, ATemplateThatCannotBeOpenedKeepsTheSections) {
  Load("kept{begin_row}row");
  for (const std::string& bad : {box.File("missing.html"), box.Path().string()}) {
    try {
      page.LoadFromFile(bad);
      FAIL() << "no exception for " << bad;
    } catch (const EFOpenError& error) {
      EXPECT_EQ(error.Message(), "Cannot open file " + bad);
    }
  }
  EXPECT_EQ(Filled(tsHead), "kept");
  EXPECT_EQ(Filled(tsRowStart), "row");
}

TEST_F(PageTemplateTest, APageThatCannotBeCreatedRaisesAndKeepsTheLineInOutput) {
  Load("<p></body>");
  page.AddSection(tsHead);
  const std::string bad = box.File("no such folder/page_1.html");
  const std::string banner = NextBanner(3);
  try {
    page.SaveToFile(bad, true);
    FAIL() << "no exception";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + bad);
  }
  EXPECT_EQ(page.Output(), "<p>" + banner + "</body>");
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
// Thumbnail pages, picture pages and the frameset as a whole publish writes
// them, seen through a template that shows every placeholder.
#include <gtest/gtest.h>

#include <sstream>

#include "PublishFixture.h"
#include "TestNames.h"

namespace tessalune {
namespace {

using test::ProbeLines;

class PageGenPagesTest : public test::PublishTest {
protected:
  void SetUp() override { UseProbeTemplate(); }

  // The number of cells in each row of a thumbnail page.
  std::vector<int> RowSizes(const std::string& page) {
    std::vector<int> rows;
    std::istringstream text(Out(page));
    std::string line;
    while (std::getline(text, line)) {
      if (line.rfind("ROWSTART ", 0) == 0) rows.push_back(0);
      if (line.rfind("CELL ", 0) == 0) ++rows.back();
    }
    return rows;
  }
  std::map<std::string, std::string> Head(const std::string& page) {
    return ProbeLines(Out(page), "HEAD").at(0);
  }
};

TEST_F(PageGenPagesTest, SevenPicturesInThreeByThreeMakeOnePage) {
  AddPictures(7);
  Publish();
  EXPECT_EQ(generator.PageCount(), 1);
  EXPECT_EQ(RowSizes("index.html"), (std::vector<int>{3, 3, 1}));
  const auto head = Head("index.html");
  EXPECT_EQ(head.at("title"), "Page 1 of 1");
  EXPECT_EQ(head.at("pages"), "");
  EXPECT_EQ(head.at("prev_page"), "index.html");
  EXPECT_EQ(head.at("next_page"), "index.html");
  EXPECT_EQ(head.at("prev_link"), "");
  EXPECT_EQ(head.at("next_link"), "");
  EXPECT_EQ(head.at("first_page"), "index.html");
  EXPECT_EQ(head.at("last_page"), "index.html");
}

TEST_F(PageGenPagesTest, TenPicturesInTwoRowsOfThreeMakeTwoPages) {
  gallery.SetRowCount(2);
  gallery.SetTitle("Trip");
  AddPictures(10);
  Publish();
  EXPECT_EQ(generator.PageCount(), 2);
  EXPECT_EQ(RowSizes("index.html"), (std::vector<int>{3, 3}));
  EXPECT_EQ(RowSizes("page_2.html"), (std::vector<int>{3, 1}));

  const auto first = Head("index.html");
  EXPECT_EQ(first.at("title"), "Trip - Page 1 of 2");
  EXPECT_EQ(first.at("page_index"), "1");
  EXPECT_EQ(first.at("page_count"), "2");
  EXPECT_EQ(first.at("prev_page"), "page_2.html");
  EXPECT_EQ(first.at("prev_link"), "");
  EXPECT_EQ(first.at("next_page"), "page_2.html");
  EXPECT_EQ(first.at("next_link"), "<a href=\"page_2.html\">NEXT</a>");
  EXPECT_EQ(first.at("last_page"), "page_2.html");

  const auto second = Head("page_2.html");
  EXPECT_EQ(second.at("prev_link"), "<a href=\"index.html\">PREV</a>");
  EXPECT_EQ(second.at("next_page"), "index.html");
  EXPECT_EQ(second.at("next_link"), "");
}

TEST_F(PageGenPagesTest, PageBarWithoutStyleLeavesTheCurrentPageBare) {
  gallery.SetRowCount(1);
  gallery.SetColCount(1);
  AddPictures(3);
  Publish();
  EXPECT_EQ(Head("page_2.html").at("pages"),
            "<a  href=\"index.html\">1</a> 2 <a  href=\"page_3.html\">3</a>");
}

TEST_F(PageGenPagesTest, PageBarWithStyleAndTexts) {
  gallery.SetRowCount(1);
  gallery.SetColCount(1);
  gallery.SetPageLinkStyle("color: red");
  gallery.SetBeforePageLink("[");
  gallery.SetAfterPageLink("]");
  gallery.SetBetweenPageLink(" - ");
  AddPictures(2);
  Publish();
  EXPECT_EQ(Head("index.html").at("pages"),
            "<span style=\"color: red\">[1]</span> - "
            "<a style=\"color: red\" href=\"page_2.html\">[2]</a>");
  EXPECT_EQ(Head("index.html").at("link_style"), "color: red");
}

TEST_F(PageGenPagesTest, PageBarCanBeSwitchedOff) {
  gallery.SetRowCount(1);
  gallery.SetColCount(1);
  gallery.SetShowPageLink(false);
  gallery.SetIsThPrevLink(false);
  gallery.SetIsThNextLink(false);
  AddPictures(3);
  Publish();
  const auto head = Head("page_2.html");
  EXPECT_EQ(head.at("pages"), "");
  EXPECT_EQ(head.at("prev_link"), "");
  EXPECT_EQ(head.at("next_link"), "");
}

TEST_F(PageGenPagesTest, EachPageSeesWhatEarlierPagesLeft) {
  gallery.SetRowCount(1);
  gallery.SetColCount(2);
  AddPictures(3);
  Publish();
  // The first page's head comes before any cell.
  const auto first = Head("index.html");
  EXPECT_EQ(first.at("first_image"), "{first_image}");
  EXPECT_EQ(first.at("image_href"), "{image_href}");
  EXPECT_EQ(first.at("image_index"), "{image_index}");
  // Later sections see the cell added last.
  const auto cells = ProbeLines(Out("index.html"), "CELL");
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0].at("first_image"), "image_1.html");
  EXPECT_EQ(cells[1].at("image_href"), "image_2.html");
  EXPECT_EQ(ProbeLines(Out("index.html"), "TAIL").at(0).at("image_filename"), "p2.bmp");
  // The second page's head sees the last cell of the first page.
  const auto second = Head("page_2.html");
  EXPECT_EQ(second.at("first_image"), "image_1.html");
  EXPECT_EQ(second.at("image_href"), "image_2.html");
  EXPECT_EQ(second.at("th_href"), "thums/th_p2.jpg");
  // Picture pages see the last thumbnail page and its last cell.
  const auto image = ProbeLines(Out("image_1.html"), "IMAGE").at(0);
  EXPECT_EQ(image.at("page_index"), "2");
  EXPECT_EQ(image.at("th_href"), "thums/th_p3.jpg");
  EXPECT_EQ(image.at("first_image"), "image_1.html");
  EXPECT_EQ(image.at("image_href"), "images/p1.bmp");
}

TEST_F(PageGenPagesTest, CellsLinkPicturePagesThumbnailsAndSizes) {
  gallery.SetPagesFolder("pages");
  Add(Picture("pictures/a.bmp", 10, 10));
  Publish();
  const auto cell = ProbeLines(Out("pages/index.html"), "CELL").at(0);
  EXPECT_EQ(cell.at("image_href"), "image_1.html");
  EXPECT_EQ(cell.at("th_href"), "../thums/th_a.jpg");
  EXPECT_EQ(cell.at("image_filename"), "a.bmp");
  EXPECT_EQ(cell.at("image_size"), FormatFileSize(FileSizeOf(box.File("pictures/a.bmp"))));
  EXPECT_EQ(cell.at("image_caption"), "");
}

TEST_F(PageGenPagesTest, DescriptionsAreEscapedInCaptions) {
  gallery.SetShowIconCaption(true);
  gallery.SetShowImageCaption(true);
  Add(Picture("pictures/a.bmp"), "Tom & <Jerry>\r\nsecond");
  Add(Picture("pictures/b.bmp"));
  Publish();
  const auto cells = ProbeLines(Out("index.html"), "CELL");
  EXPECT_EQ(cells[0].at("image_caption"), "<br>Tom &amp; &lt;Jerry&gt;<br>second");
  EXPECT_EQ(cells[1].at("image_caption"), "<br>");
  EXPECT_EQ(ProbeLines(Out("image_1.html"), "IMAGE").at(0).at("image_caption"),
            "Tom &amp; &lt;Jerry&gt;<br>second");
  EXPECT_EQ(ProbeLines(Out("image_2.html"), "IMAGE").at(0).at("image_caption"), "");
}

TEST_F(PageGenPagesTest, PicturePagesNameTheirNeighboursAndThumbnailPage) {
  gallery.SetRowCount(1);
  gallery.SetColCount(2);
  gallery.SetTitle("  ");
  AddPictures(3);
  Publish();
  const auto first = ProbeLines(Out("image_1.html"), "IMAGE").at(0);
  EXPECT_EQ(first.at("title"), "  Image 1 of 3");
  EXPECT_EQ(first.at("image_index"), "1");
  EXPECT_EQ(first.at("image_count"), "3");
  EXPECT_EQ(first.at("prev_image"), "image_3.html");
  EXPECT_EQ(first.at("prev_link"), "");
  EXPECT_EQ(first.at("next_image"), "image_2.html");
  EXPECT_EQ(first.at("next_link"), "<a href=\"image_2.html\">NEXT</a>");
  EXPECT_EQ(first.at("th_page"), "index.html");
  EXPECT_EQ(first.at("thumb_link"), "<a href=\"index.html\">Thumbnails</a>");
  // The picture at position T (pictures per page) is on page 2; T - 1 on page 1.
  EXPECT_EQ(ProbeLines(Out("image_2.html"), "IMAGE").at(0).at("th_page"), "index.html");
  const auto last = ProbeLines(Out("image_3.html"), "IMAGE").at(0);
  EXPECT_EQ(last.at("th_page"), "page_2.html");
  EXPECT_EQ(last.at("next_image"), "image_1.html");
  EXPECT_EQ(last.at("next_link"), "");
  EXPECT_EQ(last.at("prev_link"), "<a href=\"image_2.html\">PREV</a>");
}

TEST_F(PageGenPagesTest, SinglePictureNamesItsOwnPageBothWays) {
  AddPictures(1);
  Publish();
  const auto image = ProbeLines(Out("image_1.html"), "IMAGE").at(0);
  EXPECT_EQ(image.at("prev_image"), "image_1.html");
  EXPECT_EQ(image.at("next_image"), "image_1.html");
  EXPECT_EQ(image.at("prev_link"), "");
  EXPECT_EQ(image.at("next_link"), "");
}

TEST_F(PageGenPagesTest, HomeLinksPerKindOfPage) {
  gallery.SetIsThHomeLink(true);
  gallery.SetThHomeLinkAddr("https://example.org/");
  gallery.SetIsImHomeLink(true);
  gallery.SetImHomeLinkAddr("../index.html");
  gallery.SetImHomeLink("Back");
  AddPictures(1);
  Publish();
  EXPECT_EQ(Head("index.html").at("home_link"), "<a href=\"https://example.org/\">Home</a>");
  EXPECT_EQ(ProbeLines(Out("image_1.html"), "IMAGE").at(0).at("home_link"),
            "<a href=\"../index.html\">Back</a>");
}

TEST_F(PageGenPagesTest, FramesetTakesTheFirstPageName) {
  UseProbeTemplate(true);
  gallery.SetTitle("Holiday");
  gallery.SetIsThHomeLink(true);
  gallery.SetHideBanner(false);
  AddPictures(2);
  Publish();
  EXPECT_TRUE(generator.IsFrameset());
  const auto head = Head("page_1.html");
  EXPECT_EQ(head.at("first_page"), "page_1.html");
  EXPECT_EQ(head.at("prev_page"), "page_1.html");
  EXPECT_EQ(head.at("home_link"), "<a target=\"_top\" href=\"\">Home</a>");
  const std::string frameset = Out("index.html");
  const auto frames = ProbeLines(frameset, "FRAMESET").at(0);
  EXPECT_EQ(frames.at("title"), "Holiday");
  EXPECT_EQ(frames.at("first_page"), "page_1.html");
  EXPECT_EQ(frames.at("first_image"), "image_1.html");
  EXPECT_EQ(frames.at("image_index"), "2");  // left by the last picture page
  EXPECT_EQ(frameset.find("Created by"), std::string::npos);
  EXPECT_NE(Out("page_1.html").find("Created by"), std::string::npos);
  EXPECT_NE(Out("image_1.html").find("Created by"), std::string::npos);
}

TEST_F(PageGenPagesTest, CommonPlaceholdersCarryTheStyle) {
  gallery.SetCaption("A & B");
  gallery.SetIconBorder(2);
  gallery.SetLinkSize(1);
  gallery.SetBackgroundImage(Picture("pictures/back.bmp"));
  gallery.SetIsCellHeight(false);
  AddPictures(1);
  Publish();
  const auto head = Head("index.html");
  EXPECT_EQ(head.at("caption"), "A & B");
  EXPECT_EQ(head.at("table_style"),
            " cellspacing=\"2\" cellpadding=\"3\" border=\"2\" bordercolorlight=\"C0C0C0\" "
            "bordercolordark=\"808080\" ");
  EXPECT_EQ(head.at("cell_style"), " bgcolor=\"F5F5F5\"  width=\"150\" ");
  EXPECT_EQ(head.at("link_color"), "0000FF");
  EXPECT_EQ(head.at("alink_color"), "800080");
  EXPECT_EQ(head.at("text_color"), "000000");
  EXPECT_EQ(head.at("bgcolor"), "FFFFFF");
  EXPECT_EQ(head.at("bgimage"), "back.bmp");
  EXPECT_EQ(head.at("link_size"), " font-size: 110%; font-weight: bold; ");
  EXPECT_EQ(head.at("col_spacing"), "150");
  EXPECT_EQ(head.at("row_spacing"), "150");
  EXPECT_EQ(Out("back.bmp"), test::ReadBytes(box.File("pictures/back.bmp")));
}

struct StyleCase {
  const char* name;
  bool color, width, height;
  int border, linkSize;
  const char* cellStyle;
  const char* tableStyle;
  const char* linkSizeText;
};

class PageGenStyleTest : public PageGenPagesTest,
                         public ::testing::WithParamInterface<StyleCase> {};

TEST_P(PageGenStyleTest, JoinsTheStylePieces) {
  const StyleCase& c = GetParam();
  gallery.SetIsTableColor(c.color);
  gallery.SetIsCellWidth(c.width);
  gallery.SetIsCellHeight(c.height);
  gallery.SetIconBorder(c.border);
  gallery.SetLinkSize(c.linkSize);
  gallery.SetTableColor(0x0000FF);
  AddPictures(1);
  Publish();
  const auto head = Head("index.html");
  EXPECT_EQ(head.at("cell_style"), c.cellStyle);
  EXPECT_EQ(head.at("table_style"), c.tableStyle);
  EXPECT_EQ(head.at("link_size"), c.linkSizeText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageGenStyleTest,
    ::testing::Values(
        StyleCase{"AllCellOptionsNoBorder", true, true, true, 0, 0,
                  " bgcolor=\"FF0000\"  width=\"150\"  height=\"150\" ",
                  " cellspacing=\"2\" cellpadding=\"3\" border=\"0\"", ""},
        StyleCase{"NoCellOptionsBorderAndLargeLinks", false, false, false, 1, 2, " ",
                  " cellspacing=\"2\" cellpadding=\"3\" border=\"1\" "
                  "bordercolorlight=\"C0C0C0\" bordercolordark=\"808080\" ",
                  " font-size: 120%; font-weight: bold; "},
        StyleCase{"CellWidthNegativeBorderUnknownLinkSize", false, true, false, -1, 3, "  width=\"150\" ",
                  " cellspacing=\"2\" cellpadding=\"3\" border=\"-1\"", ""}),
    test::CaseName());

TEST_F(PageGenPagesTest, EmptyGalleryWritesNoPages) {
  Publish();
  EXPECT_EQ(generator.PageCount(), 0);
  EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"style.css"}));
}

TEST(PageGenTitleTest, MakeTitle) {
  EXPECT_EQ(TPageGenerator::MakeTitle("", "Page", 2, 5), "Page 2 of 5");
  EXPECT_EQ(TPageGenerator::MakeTitle("Trip", "Image", 1, 3), "Trip - Image 1 of 3");
  EXPECT_EQ(TPageGenerator::MakeTitle(" \t", "Page", 1, 1), " \tPage 1 of 1");
}

}  // namespace
}  // namespace tessalune

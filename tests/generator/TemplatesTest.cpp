// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped page templates: each publishes into well-formed pages whose
// links all resolve, and together they use every placeholder; their
// screenshots show them as a desktop browser does.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <filesystem>

#include "HtmlCheck.h"
#include "PublishFixture.h"
#include "TestNames.h"

namespace tessalune {
namespace {

namespace fs = std::filesystem;

std::string ShippedTemplates() {
  return (fs::path(test::TestDataPath("")) / ".." / ".." / "templates").lexically_normal().string();
}

// How a gallery is set up before it is published from a shipped template.
struct Setup {
  const char* name;
  void (*apply)(TPicGallery&);
};

void EverythingOn(TPicGallery& g) {
  g.SetRowCount(2);
  g.SetTitle("Summer at the lake");
  g.SetCaption("Summer");
  g.SetShowIconCaption(true);
  g.SetShowImageCaption(true);
  g.SetIsThHomeLink(true);
  g.SetThHomeLinkAddr("https://example.org/");
  g.SetIsImHomeLink(true);
  g.SetImHomeLinkAddr("https://example.org/photos");
  g.SetHideBanner(false);
  g.SetLinkSize(2);
  g.SetPageLinkStyle("color: #336699");
  g.SetBetweenPageLink(" | ");
  g.SetIconBorder(2);
}

void PagesFolderAndConverted(TPicGallery& g) {
  g.SetPagesFolder("pages");
  g.SetIsConvertImages(true);
  g.SetImageResize(true);
  g.SetImageWidth(30);
  g.SetImageHeight(30);
  g.SetIsCreateImagePages(false);
}

void FlatFolders(TPicGallery& g) {
  g.SetImagesFolder("");
  g.SetIconsFolder("");
  g.SetRowCount(1);
  g.SetColCount(1);
}

struct TemplateCase {
  const char* templateName;
  Setup setup;
};

void PrintTo(const TemplateCase& c, std::ostream* out) {
  *out << c.templateName << " / " << c.setup.name;
}

void OddFolders(TPicGallery& g) {
  g.SetImagesFolder("my pictures");
  g.SetIconsFolder("th #1");
  g.SetPagesFolder("web pages 100%");
  g.SetFirstPageName("start & go.html");
}

class TemplatesTest : public test::PublishTest,
                      public ::testing::WithParamInterface<TemplateCase> {
protected:
  TemplatesTest() : shipped(ShippedTemplates()) {
    gallery.SetTemplate(GetParam().templateName);
    GetParam().setup.apply(gallery);
  }

  // Every published page is well-formed, its links resolve and no
  // placeholder is left; answers all the text the pages show.
  std::string CheckPublishedPages() {
    int pages = 0;
    std::string shown;
    for (const auto& entry : fs::recursive_directory_iterator(box.File("out"))) {
      if (entry.path().extension() != ".html") continue;
      ++pages;
      const std::string path = entry.path().string();
      const std::string page = test::ReadBytes(path);
      EXPECT_TRUE(test::IsWellFormedHtml(page)) << path;
      EXPECT_TRUE(test::LinksResolve(path, page));
      for (const std::string& name : test::AllPlaceholders()) {
        EXPECT_EQ(page.find("{" + name + "}"), std::string::npos) << name << " left in " << path;
      }
      shown += test::TextOf(page);
    }
    EXPECT_GT(pages, 0);
    return shown;
  }

  ScopedTemplatesRoot shipped;
};

TEST_P(TemplatesTest, PublishesWellFormedPagesWhoseLinksResolve) {
  gallery.SetBackgroundImage(Picture("pictures/paper.bmp", 16, 16));
  for (int i = 1; i <= 10; ++i) {
    Add(Picture("pictures/photo " + std::to_string(i) + ".bmp", 60, 40),
        i % 2 ? "Tom & <Jerry>\r\nat the \"lake\"" : "");
  }
  Publish();
  CheckPublishedPages();
}

// File names with the characters that mean something in a link or in HTML.
TEST_P(TemplatesTest, FileNamesOfEveryKindGiveLinksThatResolveAndReadAsTheNames) {
  gallery.SetBackgroundImage(Picture("pictures/paper #2.bmp", 16, 16));
  gallery.SetTitle("Tom & Jerry's \"best\" <pictures>");
  for (const char* name : {"say \"cheese\".bmp", "Nr #5.bmp", "100% done.bmp", "what?.bmp",
                           "a<b>.bmp", "Tom & Jerry.bmp", "it's {title}.bmp", "photo:1.bmp",
                           "back\\slash.bmp", "caf\xC3\xA9 %41.bmp"}) {
    Add(Picture(std::string("pictures/") + name, 50, 40), "A \"picture\" & <its> name");
  }
  Publish();
  const std::string shown = CheckPublishedPages();
  for (int i = 0; i < gallery.GetImageCount(); ++i) {
    const std::string& file = gallery.GetImageFile(i)->WorkFileName;
    const std::string name = file.substr(file.rfind('/') + 1);
    EXPECT_NE(shown.find(name), std::string::npos) << name << " is not shown as itself";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shipped, TemplatesTest,
    ::testing::Values(TemplateCase{"Grid", {"everything on", EverythingOn}},
                      TemplateCase{"Grid", {"pages folder", PagesFolderAndConverted}},
                      TemplateCase{"Grid", {"flat", FlatFolders}},
                      TemplateCase{"Frames", {"everything on", EverythingOn}},
                      TemplateCase{"Frames", {"pages folder", PagesFolderAndConverted}},
                      TemplateCase{"Frames", {"flat", FlatFolders}},
                      TemplateCase{"List", {"everything on", EverythingOn}},
                      TemplateCase{"List", {"pages folder", PagesFolderAndConverted}},
                      TemplateCase{"List", {"flat", FlatFolders}},
                      TemplateCase{"Grid", {"odd folders", OddFolders}},
                      TemplateCase{"Frames", {"odd folders", OddFolders}},
                      TemplateCase{"List", {"odd folders", OddFolders}}),
    test::PrintedName());

TEST(ShippedTemplatesTest, HaveTheirFilesAndTheirKinds) {
  const fs::path root = ShippedTemplates();
  for (const char* name : {"Grid", "Frames", "List"}) {
    for (const char* file : {"page.html", "image.html", "settings.ini", "screenshot.jpg"}) {
      EXPECT_TRUE(fs::is_regular_file(root / name / file)) << name << "/" << file;
    }
  }
  EXPECT_TRUE(fs::is_regular_file(root / "Frames" / "frameset.html"));
  const std::string list = test::ReadBytes(root / "List" / "page.html");
  EXPECT_NE(list.find("<!--no_thumbnails-->"), std::string::npos);
}

// A shipped template's screenshot in grey levels.
QImage Screenshot(const char* name) {
  const fs::path file = fs::path(ShippedTemplates()) / name / "screenshot.jpg";
  return QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_Grayscale8);
}

// The dark pixels (text, pictures) in each third of the screenshot's width.
std::array<int, 3> DarkPixelsPerThird(const QImage& shot) {
  std::array<int, 3> dark{};
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if (shot.constScanLine(y)[x] < 128) ++dark[std::size_t(x * 3 / shot.width())];
    }
  }
  return dark;
}

// Whether a column is darker than the page's background from the top of the
// screenshot to its bottom: the line between two frames side by side.
bool HasLineFromTopToBottom(const QImage& shot) {
  const int background = shot.constScanLine(shot.height() - 1)[0];
  for (int x = 0; x < shot.width(); ++x) {
    int y = 0;
    while (y < shot.height() && shot.constScanLine(y)[x] + 16 < background) ++y;
    if (y == shot.height()) return true;
  }
  return false;
}

// The publishing dialog shows a screenshot in a box of 150 x 273. Each is a
// picture of those proportions of the template's first page laid out at a
// desktop's width: List shows the gallery's three columns side by side and
// Frames the thumbnails beside the picture, as neither does on a phone.
TEST(ShippedTemplatesTest, ScreenshotsShowTheDesktopLayoutInTheDialogsProportions) {
  for (const char* name : {"Grid", "Frames", "List"}) {
    EXPECT_EQ(Screenshot(name).size(), QSize(600, 1090)) << name;
  }
  const std::array<int, 3> list = DarkPixelsPerThird(Screenshot("List"));
  EXPECT_GT(*std::min_element(list.begin(), list.end()) * 10, *std::max_element(list.begin(), list.end()))
      << "the List entries stand in one column";
  EXPECT_TRUE(HasLineFromTopToBottom(Screenshot("Frames"))) << "the Frames frames are stacked";
}

TEST(ShippedTemplatesTest, TogetherUseEveryPlaceholder) {
  std::string all;
  for (const auto& entry : fs::recursive_directory_iterator(ShippedTemplates())) {
    if (entry.path().extension() == ".html") all += test::ReadBytes(entry.path());
  }
  for (const std::string& name : test::AllPlaceholders()) {
    EXPECT_NE(all.find("{" + name + "}"), std::string::npos) << name;
  }
}

// The checks themselves catch what they are there for.
TEST(HtmlCheckTest, FindsFaults) {
  EXPECT_TRUE(test::IsWellFormedHtml("<!DOCTYPE html><p class=x>a &amp; b<br><img src=\"a\"></p>"));
  EXPECT_FALSE(test::IsWellFormedHtml("<p><b></p></b>"));
  EXPECT_FALSE(test::IsWellFormedHtml("<div>"));
  EXPECT_FALSE(test::IsWellFormedHtml("<p>a < b</p>"));
  EXPECT_FALSE(test::IsWellFormedHtml("<p>Tom & Jerry</p>"));
  EXPECT_FALSE(test::IsWellFormedHtml("<a href=\"x\" href=\"y\"></a>"));
  EXPECT_FALSE(test::IsWellFormedHtml("<a href=\"x></a>"));
  EXPECT_FALSE(test::IsWellFormedHtml("<!-- open"));
  EXPECT_EQ(test::LinksOf("<a href=\"a.html\"><img src='b.jpg'></a><link href=c.css>"),
            (std::vector<std::string>{"a.html", "b.jpg", "c.css"}));
  EXPECT_FALSE(test::IsWellFormedHtml("<a title=\"Tom & Jerry\"></a>"));
  EXPECT_EQ(test::LinksOf("<style>a { background: url(\"x%20y.png\") } b { c: url() }</style>"),
            (std::vector<std::string>{"x%20y.png"}));
  EXPECT_EQ(test::TextOf("<title>T</title><p title=\"a &quot;b&quot;\">c &amp; d<img alt='&#123;e&#x7D;'></p>"),
            "\na \"b\"\nc & d\n{e}\n");
}

// The link checker follows links as a browser does.
TEST(HtmlCheckTest, FollowsLinksAsABrowserDoes) {
  test::Sandbox box;
  const std::string page = box.Write("index.html", "");
  box.Write("images/100% #1?&.jpg", "");
  box.Write("a:b.jpg", "");
  const auto resolves = [&](const std::string& link) {
    return test::LinksResolve(page, "<img src=\"" + link + "\">");
  };
  EXPECT_TRUE(resolves("images/100%25%20%231%3F&amp;.jpg?size=2#top"));
  EXPECT_TRUE(resolves("./a:b.jpg"));
  EXPECT_FALSE(resolves("images/100% #1?&amp;.jpg")) << "a raw blank and a bare '%'";
  EXPECT_FALSE(resolves("images/100%25%20#1%3F&amp;.jpg")) << "the link stops at '#'";
  EXPECT_FALSE(resolves("a:b.jpg")) << "read as the scheme a:";
  EXPECT_FALSE(resolves(""));
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped page templates: each publishes into well-formed pages whose
// links all resolve, and together they use every placeholder.
#include <gtest/gtest.h>

#include <filesystem>

#include "HtmlCheck.h"
#include "PublishFixture.h"

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

class TemplatesTest : public test::PublishTest,
                      public ::testing::WithParamInterface<TemplateCase> {
protected:
  TemplatesTest() : shipped(ShippedTemplates()) {}
  ScopedTemplatesRoot shipped;
};

TEST_P(TemplatesTest, PublishesWellFormedPagesWhoseLinksResolve) {
  gallery.SetTemplate(GetParam().templateName);
  GetParam().setup.apply(gallery);
  gallery.SetBackgroundImage(Picture("pictures/paper.bmp", 16, 16));
  for (int i = 1; i <= 10; ++i) {
    Add(Picture("pictures/photo " + std::to_string(i) + ".bmp", 60, 40),
        i % 2 ? "Tom & <Jerry>\r\nat the \"lake\"" : "");
  }
  Publish();

  int pages = 0;
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
  }
  EXPECT_GT(pages, 0);
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
                      TemplateCase{"List", {"flat", FlatFolders}}));

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
  test::Sandbox box;
  const std::string page = box.Write("index.html", "");
  box.Write("images/a b.jpg", "");
  EXPECT_TRUE(test::LinksResolve(page, "<img src=\"images/a b.jpg\"><a href=\"https://x.org/\">"));
  EXPECT_FALSE(test::LinksResolve(page, "<img src=\"images/missing.jpg\">"));
  EXPECT_FALSE(test::LinksResolve(page, "<a href=\"\">"));
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <cstdio>
#include <memory>
#include <string>

#include "HtmlText.h"
#include "TestNames.h"

namespace tessalune {
namespace {

struct TextCase {
  const char* name;
  const char* text;
  const char* html;
};

class TextToHtmlTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToHtmlTest, EscapesMarkupAndLineBreaks) {
  EXPECT_EQ(TextToHtml(GetParam().text), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToHtmlTest,
                         ::testing::Values(TextCase{"Empty", "", ""},
                                           TextCase{"Plain", "plain text", "plain text"},
                                           TextCase{"Ampersand", "a & b", "a &amp; b"},
                                           TextCase{"Markup", "<b>bold</b>", "&lt;b&gt;bold&lt;/b&gt;"},
                                           // An entity already in the text shows as its own text.
                                           TextCase{"Entity", "&lt;", "&amp;lt;"},
                                           TextCase{"CrLf", "one\r\ntwo", "one<br>two"},
                                           TextCase{"LoneLf", "one\ntwo", "one\ntwo"},
                                           TextCase{"LoneCr", "one\rtwo", "one\rtwo"},
                                           TextCase{"Quotes", "\"quoted\" 'too'", "\"quoted\" 'too'"},
                                           TextCase{"Utf8", "caf\xC3\xA9 > 5", "caf\xC3\xA9 &gt; 5"}),
                         test::CaseName());

class NameToHtmlTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NameToHtmlTest, EscapesForTextAndQuotedAttributes) {
  EXPECT_EQ(NameToHtml(GetParam().text), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameToHtmlTest,
    ::testing::Values(TextCase{"PlainSigns", "caf\xC3\xA9 #5 100%.jpg", "caf\xC3\xA9 #5 100%.jpg"},
                      TextCase{"QuotesAndMarkup", "say \"cheese\" & it's <a>.jpg",
                               "say &quot;cheese&quot; &amp; it&#39;s &lt;a&gt;.jpg"},
                      // Never a placeholder of the page template.
                      TextCase{"Placeholder", "{title}.jpg", "&#123;title}.jpg"}),
    test::CaseName());

struct UrlCase {
  const char* name;
  const char* path;
  const char* url;
};

class PathToUrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(PathToUrlTest, EscapesWhatALinkMayNotHold) {
  EXPECT_EQ(PathToUrl(GetParam().path), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathToUrlTest,
    ::testing::Values(UrlCase{"SafeSignsAndUtf8", "../images/M\xC3\xBCller_(1)+it's[2];12:30.jpg",
                              "../images/M\xC3\xBCller_(1)+it's[2];12:30.jpg"},
                      UrlCase{"BlanksQuotesHashPercent", "say \"cheese\" Nr #5 100%.jpg",
                              "say%20%22cheese%22%20Nr%20%235%20100%25.jpg"},
                      UrlCase{"OtherSignsAndControls", "what?<b>\\&{x}`\t\x7F.jpg",
                              "what%3F%3Cb%3E%5C%26%7Bx%7D%60%09%7F.jpg"},
                      UrlCase{"Folders", "../my images/th #1/a.jpg", "../my%20images/th%20%231/a.jpg"},
                      // A colon before the first "/" would start a scheme.
                      UrlCase{"ColonBeforeTheFirstSlash", "photo:1.jpg", "photo%3A1.jpg"},
                      // Bytes that are not UTF-8 would reach the browser as U+FFFD.
                      UrlCase{"NotUtf8", "caf\xE9 \xC3.jpg", "caf%E9%20%C3.jpg"}),
    test::CaseName());

struct ColorCase {
  std::int32_t color;
  const char* html;
};

class ColorToHtmlTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorToHtmlTest, WritesRedGreenBlue) {
  EXPECT_EQ(ColorToHtml(GetParam().color), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColorToHtmlTest,
    ::testing::Values(ColorCase{0x0000FF, "FF0000"}, ColorCase{0x00FF00, "00FF00"},
                      ColorCase{0xFF0000, "0000FF"}, ColorCase{0x000000, "000000"},
                      ColorCase{0xF5F5F5, "F5F5F5"}, ColorCase{0x123456, "563412"},
                      // Bits above the 24 colour bits name no colour of their own.
                      ColorCase{0x1FFFFFFF, "FFFFFF"}, ColorCase{0x02123456, "563412"}),
    [](const ::testing::TestParamInfo<ColorCase>& tested) {
      char name[16];
      std::snprintf(name, sizeof name, "0x%06X", unsigned(tested.param.color));
      return std::string(name);
    });

constexpr std::int32_t SystemColor(int index) {
  return std::int32_t(0x80000000u | unsigned(index));
}

// Without a GUI application the classic desktop colours stand in.
TEST(ColorToHtmlSystemTest, GivesClassicColoursWithoutApplication) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_EQ(ColorToHtml(SystemColor(5)), "FFFFFF");    // window
  EXPECT_EQ(ColorToHtml(SystemColor(8)), "000000");    // window text
  EXPECT_EQ(ColorToHtml(SystemColor(15)), "D4D0C8");   // button face
  EXPECT_EQ(ColorToHtml(SystemColor(24)), "FFFFE1");   // tool tip background
  EXPECT_EQ(ColorToHtml(SystemColor(1)), "3A6EA5");    // desktop
  EXPECT_EQ(ColorToHtml(SystemColor(200)), "000000");  // no such colour
}

// With one, a system colour is what the application's palette shows.
TEST(ColorToHtmlSystemTest, FollowsTheApplicationPalette) {
  int argc = 1;
  char name[] = "HtmlTextTest";
  char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  QPalette palette = QGuiApplication::palette();
  palette.setColor(QPalette::All, QPalette::Base, QColor(0x12, 0x34, 0x56));
  palette.setColor(QPalette::All, QPalette::Button, QColor(0xAB, 0xCD, 0xEF));
  palette.setColor(QPalette::All, QPalette::Highlight, QColor(0x01, 0x02, 0x03));
  QGuiApplication::setPalette(palette);

  EXPECT_EQ(ColorToHtml(SystemColor(5)), "123456");   // window
  EXPECT_EQ(ColorToHtml(SystemColor(15)), "ABCDEF");  // button face
  EXPECT_EQ(ColorToHtml(SystemColor(13)), "010203");  // highlight
  // A colour the palette has no role for keeps its classic value.
  EXPECT_EQ(ColorToHtml(SystemColor(1)), "3A6EA5");
  app.reset();
}

}  // namespace
}  // namespace tessalune

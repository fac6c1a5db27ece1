// SPDX-License-Identifier: GPL-3.0-or-later
// The tool bar's pictures and the program's icon, as the compiled-in
// resource gives them through Qt's SVG icon engine.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace tessalune {
namespace {

// The tool bar's pictures in the tool bar's order (indexes 0 to 12).
const std::vector<std::string> kToolBarIcons = {
    "new",      "open",    "save",      "add-folder",  "add-images", "options",   "publish",
    "move-top", "move-up", "move-down", "move-bottom", "group-up",   "group-down",
};

QString ResourcePath(const std::string& name) {
  return QString::fromStdString(":/icons/" + name + ".svg");
}

// A picture at a size: the pixels as ARGB, empty when the icon gave none.
QImage Render(const std::string& name, int size, qreal ratio = 1) {
  return QIcon(ResourcePath(name)).pixmap(QSize(size, size), ratio).toImage().convertToFormat(
      QImage::Format_ARGB32);
}

// What a picture's pixels look like: how much of it is drawn, how much of
// what is drawn lies between transparent and opaque (edges that fall between
// pixels), and how many colours it has.
struct Coverage {
  double drawn = 0;
  double blurred = 0;
  size_t colours = 0;
};

Coverage Measure(const QImage& image) {
  std::set<QRgb> colours;
  int drawn = 0, blurred = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      const int alpha = qAlpha(pixel);
      if (alpha == 0) continue;
      ++drawn;
      if (alpha < 255) ++blurred;
      colours.insert(pixel);
    }
  const double area = image.width() * image.height();
  return {drawn / area, drawn ? double(blurred) / drawn : 0, colours.size()};
}

class IconTest : public ::testing::TestWithParam<std::string> {};

// Catches a missing resource, a missing SVG engine (QIcon then gives null
// pixmaps) and a file the engine cannot draw (it then gives blank ones).
TEST_P(IconTest, DrawsAVisiblePictureAt100And200Percent) {
  for (const auto& [size, ratio] : std::vector<std::pair<int, qreal>>{{24, 1}, {48, 1}, {24, 2}}) {
    const QImage image = Render(GetParam(), size, ratio);
    ASSERT_FALSE(image.isNull()) << size << " px at " << ratio;
    EXPECT_EQ(image.size(), QSize(size, size) * ratio);
    const Coverage coverage = Measure(image);
    EXPECT_GT(coverage.drawn, 0.2) << size << " px at " << ratio;
    EXPECT_GE(coverage.colours, 3u) << size << " px at " << ratio;
  }
}

std::vector<std::string> AllIcons() {
  auto names = kToolBarIcons;
  names.push_back("tessalune");
  return names;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& icon) {
  std::string name = icon.param;
  std::erase(name, '-');
  return name;
}

INSTANTIATE_TEST_SUITE_P(ToolBarAndProgram, IconTest, ::testing::ValuesIn(AllIcons()), TestName);

// Catches a tool bar picture drawn off the 24-pixel grid: its outline then
// falls between pixels and blurs (0.18 to 0.48 of the drawn pixels for these
// pictures moved by half a pixel; corners and slopes alone stay below 0.15).
TEST(ToolBarIcons, AreCrispAtTheirDesignSize) {
  for (const auto& name : kToolBarIcons) EXPECT_LT(Measure(Render(name, 24)).blurred, 0.16) << name;
}

// Catches one command's picture copied over another's.
TEST(ToolBarIcons, AreThirteenDifferentPictures) {
  ASSERT_EQ(kToolBarIcons.size(), 13u);
  for (size_t i = 0; i < kToolBarIcons.size(); ++i)
    for (size_t j = i + 1; j < kToolBarIcons.size(); ++j)
      EXPECT_NE(Render(kToolBarIcons[i], 24), Render(kToolBarIcons[j], 24))
          << kToolBarIcons[i] << " and " << kToolBarIcons[j];
}

}  // namespace
}  // namespace tessalune

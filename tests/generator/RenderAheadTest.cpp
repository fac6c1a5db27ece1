// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <algorithm>

#include "PicIcon.h"
#include "RenderAhead.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

class RenderAheadTest : public ::testing::Test {
protected:
  // Jobs for count pictures of growing width, each scaled to at most 20 x 20.
  std::vector<TRenderJob> Jobs(int count) {
    std::vector<TRenderJob> jobs;
    for (int i = 0; i < count; ++i) {
      const std::string file = box.File("p" + std::to_string(i) + ".bmp");
      QImage image(10 + i, 10, QImage::Format_RGB32);
      image.fill(QColor(i * 10 % 256, 100, 200));
      EXPECT_TRUE(image.save(QString::fromStdString(file), "BMP"));
      jobs.push_back({file, 20, 20, 80});
    }
    return jobs;
  }

  test::Sandbox box;
};

TEST_F(RenderAheadTest, GivesEachJobItsOwnPicture) {
  TRenderAhead ahead(Jobs(30));
  for (int i = 0; i < 30; ++i) {
    const auto icon = ahead.Take(i);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->PictureWidth, 10 + i);
    EXPECT_LE(icon->Bitmap.width(), 20);
    EXPECT_EQ(icon->Quality, 80);
    EXPECT_FALSE(icon->Fast);
  }
}

TEST_F(RenderAheadTest, DropsTheJobsPassedOver) {
  TRenderAhead ahead(Jobs(20));
  EXPECT_EQ(ahead.Take(2)->PictureWidth, 12);
  EXPECT_EQ(ahead.Take(15)->PictureWidth, 25);
  EXPECT_EQ(ahead.Take(19)->PictureWidth, 29);
}

TEST_F(RenderAheadTest, StopsWithJobsLeft) {
  const auto jobs = Jobs(40);
  for (int taken = 0; taken < 3; ++taken) {
    TRenderAhead ahead(jobs);
    for (int i = 0; i < taken; ++i) ahead.Take(i);
  }
  SUCCEED();
}

// By the estimate, each picture below takes 8 bytes a pixel while it is
// loaded, and its thumbnail, within 20 x 20, 3 bytes a pixel while it waits.
TEST_F(RenderAheadTest, HoldsNoMoreBytesAheadThanItsBudget) {
  const std::int64_t picture = 8 * 200 * 100 + 3 * 20 * 20;
  std::vector<TRenderJob> jobs;
  for (int i = 0; i < 24; ++i) {
    const std::string file = box.File("big" + std::to_string(i) + ".bmp");
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(QColor(i * 10, 100, 200));
    ASSERT_TRUE(image.save(QString::fromStdString(file), "BMP"));
    jobs.push_back({file, 20, 20, 80});
  }
  for (const std::int64_t budget : {2 * picture, picture / 2}) {
    TRenderAhead ahead(jobs, budget);
    for (int i = 0; i < 24; i += i < 10 ? 1 : 3) {
      const auto icon = ahead.Take(i);
      EXPECT_EQ(icon->Bitmap.size(), QSize(20, 10));
    }
    EXPECT_GT(ahead.PeakBytes(), 0);
    EXPECT_LE(ahead.PeakBytes(), std::max(budget, picture)) << "budget " << budget;
  }
}

TEST_F(RenderAheadTest, UnreadablePictureGivesTheErrorMark) {
  TRenderAhead ahead({{box.File("missing.bmp"), 20, 20, 80}});
  const auto icon = ahead.Take(0);
  EXPECT_EQ(icon->Bitmap.size(), QSize(30, 30));
  EXPECT_EQ(icon->PictureWidth, 0);
}

}  // namespace
}  // namespace tessalune

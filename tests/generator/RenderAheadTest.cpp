// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <stdexcept>

#include "ImageFixtures.h"
#include "PicIcon.h"
#include "RenderAhead.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

constexpr TRenderSize kThumbnail{20, 20, 80};
constexpr TRenderSize kImage{40, 30, 90};

// The size of the picture a JPEG stream holds.
QSize StreamSize(const std::string& stream) {
  return QImage::fromData(reinterpret_cast<const uchar*>(stream.data()), qsizetype(stream.size()), "JPG").size();
}

class RenderAheadTest : public ::testing::Test {
protected:
  // A picture of growing width and changing colour for each i.
  std::string Picture(int i, int width, int height) {
    const std::string file = box.File("p" + std::to_string(i) + ".bmp");
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(i * 10 % 256, 100, 200));
    image.setPixelColor(width / 2, height / 2, QColor(255, 255, i % 256));
    EXPECT_TRUE(image.save(QString::fromStdString(file), "BMP"));
    return file;
  }

  // Jobs for count pictures of growing width with the given parts.
  std::vector<TRenderJob> Jobs(int count, bool thumbnail = true, bool image = false) {
    std::vector<TRenderJob> jobs;
    for (int i = 0; i < count; ++i) {
      TRenderJob job{Picture(i, 10 + 3 * i, 10 + i), std::nullopt, std::nullopt};
      if (thumbnail) job.Thumbnail = kThumbnail;
      if (image) job.Image = kImage;
      jobs.push_back(job);
    }
    return jobs;
  }

  // What one thumbnail maker writes for the file at that size.
  static std::string Expected(const std::string& file, const TRenderSize& size) {
    TPicIcon icon;
    SetUpIcon(icon, size);
    icon.LoadFromFile(file);
    return icon.SaveToStream();
  }

  test::Sandbox box;
};

TEST_F(RenderAheadTest, GivesEachJobTheStreamOfItsOwnPicture) {
  const auto jobs = Jobs(30);
  TRenderAhead ahead(jobs);
  for (int i = 0; i < 30; ++i) {
    const std::string stream = ahead.TakeThumbnail(i).Bytes;
    EXPECT_EQ(stream, Expected(jobs[std::size_t(i)].FileName, kThumbnail)) << i;
  }
}

TEST_F(RenderAheadTest, DropsTheJobsPassedOver) {
  const auto jobs = Jobs(20);
  TRenderAhead ahead(jobs);
  for (const int i : {2, 15, 19}) {
    EXPECT_EQ(ahead.TakeThumbnail(i).Bytes, Expected(jobs[std::size_t(i)].FileName, kThumbnail)) << i;
  }
}

// The workers load only a few pictures beyond those taken, and destroying
// the object with most jobs left returns.
TEST_F(RenderAheadTest, StopsWithJobsLeft) {
  const auto jobs = Jobs(40, true, true);
  for (int taken = 0; taken < 3; ++taken) {
    TRenderAhead ahead(jobs, 2);
    for (int i = 0; i < taken; ++i) {
      EXPECT_EQ(ahead.TakeThumbnail(i).Bytes, Expected(jobs[std::size_t(i)].FileName, kThumbnail)) << i;
    }
    if (taken == 2) {
      EXPECT_EQ(ahead.TakeImage(0).Bytes, Expected(jobs[0].FileName, kImage));
    }
    EXPECT_LT(ahead.Loads(), 20) << taken << " taken";
  }
}

TEST_F(RenderAheadTest, LoadsEachPictureOnceForItsThumbnailAndItsPicture) {
  const auto jobs = Jobs(16, true, true);
  TRenderAhead ahead(jobs);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(ahead.TakeThumbnail(i).Bytes, Expected(jobs[std::size_t(i)].FileName, kThumbnail)) << i;
  }
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(ahead.TakeImage(i).Bytes, Expected(jobs[std::size_t(i)].FileName, kImage)) << i;
  }
  EXPECT_EQ(ahead.Loads(), 16);
}

// A quarter of this budget holds about two pictures of 40 x 30: the others
// are loaded again in their turn, with the same bytes.
TEST_F(RenderAheadTest, PicturesBeyondAQuarterOfTheBudgetAreMadeAgainInTheirTurn) {
  const auto jobs = Jobs(12, true, true);
  TRenderAhead ahead(jobs, 4, 4 * 2 * 3 * 40 * 30 + 100);
  for (int i = 0; i < 12; ++i) ahead.TakeThumbnail(i);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(ahead.TakeImage(i).Bytes, Expected(jobs[std::size_t(i)].FileName, kImage)) << i;
  }
  EXPECT_GT(ahead.Loads(), 12);
  EXPECT_LT(ahead.Loads(), 24);
}

TEST_F(RenderAheadTest, APicturePassedOverForItsThumbnailIsStillMade) {
  const auto jobs = Jobs(10, true, true);
  TRenderAhead ahead(jobs, 3);
  ahead.TakeThumbnail(1);
  ahead.TakeThumbnail(8);
  for (const int i : {0, 4, 9}) {
    EXPECT_EQ(ahead.TakeImage(i).Bytes, Expected(jobs[std::size_t(i)].FileName, kImage)) << i;
  }
}

TEST_F(RenderAheadTest, AskingForAPartAJobDoesNotHaveIsAnError) {
  TRenderAhead ahead(Jobs(2));
  EXPECT_THROW(ahead.TakeImage(0), std::logic_error);
  EXPECT_THROW(ahead.TakeThumbnail(5), std::out_of_range);
}

// By the estimate, each picture below takes 8 bytes a pixel while it is
// loaded, and its thumbnail, within 20 x 20, 3 bytes a pixel while it waits.
TEST_F(RenderAheadTest, HoldsNoMoreBytesAheadThanItsBudget) {
  const std::int64_t picture = 8 * 200 * 100 + 3 * 20 * 20;
  std::vector<TRenderJob> jobs;
  for (int i = 0; i < 24; ++i) {
    jobs.push_back({Picture(i, 200, 100), kThumbnail, std::nullopt});
  }
  for (const std::int64_t budget : {2 * picture, picture / 2}) {
    TRenderAhead ahead(jobs, TRenderAhead::ThreadCount(), budget);
    for (int i = 0; i < 24; i += i < 10 ? 1 : 3) {
      EXPECT_EQ(StreamSize(ahead.TakeThumbnail(i).Bytes), QSize(20, 10));
    }
    EXPECT_GT(ahead.PeakBytes(), 0);
    EXPECT_LE(ahead.PeakBytes(), std::max(budget, picture)) << "budget " << budget;
  }
}

TEST_F(RenderAheadTest, UnreadablePictureGivesTheErrorMark) {
  TRenderAhead ahead({{box.File("missing.bmp"), kThumbnail, kImage}});
  for (const TRenderedFile& file : {ahead.TakeThumbnail(0), ahead.TakeImage(0)}) {
    EXPECT_EQ(StreamSize(file.Bytes), QSize(30, 30));
    EXPECT_TRUE(file.ErrorMark);
  }
}

// A 64-byte bitmap claiming 2147483647 x -2147483648 pixels counts as the
// largest picture a decoder would load, loaded alone, and gives the error
// mark; the pictures after it come as usual.
TEST_F(RenderAheadTest, AHeaderThatLiesCountsAsTheLargestPicture) {
  const std::string lying = box.Write("lying.bmp", test::MakeBitmapHeader(INT_MAX, INT_MIN));
  const auto pictures = Jobs(3, true, true);
  std::vector<TRenderJob> jobs = {{lying, kThumbnail, kImage}};
  jobs.insert(jobs.end(), pictures.begin(), pictures.end());
  TRenderAhead ahead(jobs, 3, std::int64_t{1} << 20);
  for (const TRenderedFile& file : {ahead.TakeThumbnail(0), ahead.TakeImage(0)}) {
    EXPECT_EQ(StreamSize(file.Bytes), QSize(30, 30));
    EXPECT_TRUE(file.ErrorMark);
  }
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(ahead.TakeImage(i).Bytes, Expected(jobs[std::size_t(i)].FileName, kImage)) << i;
  }
  EXPECT_GE(ahead.PeakBytes(), 8 * MaxPicturePixels());
  EXPECT_LT(ahead.PeakBytes(), 9 * MaxPicturePixels());
}

// Any mix of parts, threads, budgets and turns passed over gives each stream
// taken the bytes of one thumbnail maker, and never stalls.
TEST_F(RenderAheadTest, EveryScheduleGivesTheBytesOfOneThumbnailMaker) {
  const auto pictures = Jobs(14);
  std::map<std::pair<std::size_t, bool>, std::string> expected;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    expected[{i, false}] = Expected(pictures[i].FileName, kThumbnail);
    expected[{i, true}] = Expected(pictures[i].FileName, kImage);
  }
  std::mt19937 random(17);
  for (int round = 0; round < 40; ++round) {
    std::vector<TRenderJob> jobs;
    std::vector<std::size_t> source;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      const unsigned parts = random() % 4;
      if (parts == 0) continue;
      jobs.push_back({pictures[i].FileName, std::nullopt, std::nullopt});
      if (parts & 1) jobs.back().Thumbnail = kThumbnail;
      if (parts & 2) jobs.back().Image = kImage;
      source.push_back(i);
    }
    const std::int64_t budgets[] = {1, 4 * 3 * 40 * 30, std::int64_t{1} << 30};
    TRenderAhead ahead(jobs, 1 + random() % 6, budgets[random() % 3]);
    for (const bool image : {false, true}) {
      for (std::size_t job = 0; job < jobs.size(); ++job) {
        if (!(image ? jobs[job].Image : jobs[job].Thumbnail) || random() % 4 == 0) continue;
        const std::string stream = (image ? ahead.TakeImage(int(job)) : ahead.TakeThumbnail(int(job))).Bytes;
        ASSERT_EQ(stream, (expected[{source[job], image}])) << "round " << round << " job " << job;
      }
    }
  }
}

}  // namespace
}  // namespace tessalune

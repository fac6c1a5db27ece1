// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>

#include "ImageFixtures.h"
#include "TestSupport.h"
#include "ThumbnailFixtures.h"

namespace tessalune {
namespace {

using test::SamePixels;
using test::WaitFor;
using test::WaitWithoutEvents;

// The picture files of the tests, one of each kind the list meets.
class Pictures {
public:
  Pictures() {
    Add("photo.jpg", test::MakeJpeg(test::NoiseBitmap(640, 480, 1)));
    Add("drawing.bmp", test::MakeWithQt(test::NoiseBitmap(300, 200, 2), "BMP"));
    Add("small.bmp", test::MakeWithQt(test::NoiseBitmap(20, 10, 3), "BMP"));
    Add("animation.gif", test::MakeGif(40, 30, {Qt::red, Qt::blue}, {{0, 0, 40, 30, false, -1, std::vector<std::uint8_t>(1200, 1)}}));
    Add("broken.jpg", "not a picture");
    files_.push_back(sandbox_.File("missing.jpg"));
  }
  const std::vector<std::string>& Files() const { return files_; }
  std::string File(const std::string& name) const { return sandbox_.File(name); }

private:
  void Add(const std::string& name, const std::string& bytes) { files_.push_back(sandbox_.Write(name, bytes)); }
  test::Sandbox sandbox_;
  std::vector<std::string> files_;
};

TThumbnailRequest Request(std::uint64_t id, const std::string& fileName, QSize canvas = QSize()) {
  TThumbnailRequest request;
  request.Id = id;
  request.FileName = fileName;
  request.MaxSize = QSize(100, 75);
  request.Canvas = canvas;
  request.Margin = QColor(10, 20, 30);
  return request;
}

class ThumbnailLoaderTest : public ::testing::Test {
protected:
  // One worker: it may finish two pictures before it waits for delivery.
  ThumbnailLoaderTest() {
    loader_.OnThumbnail = [this](const TThumbnailRequest& request, TThumbnail) { delivered_.push_back(request.Id); };
  }
  // The worker has made two pictures and waits for the interface thread.
  bool TwoWaiting() { return WaitWithoutEvents([this] { return loader_.Waiting() == 2; }); }

  Pictures pictures_;
  TThumbnailLoader loader_{1};
  std::vector<std::uint64_t> delivered_;
  using Ids = std::vector<std::uint64_t>;
};

TEST_F(ThumbnailLoaderTest, EveryResultEqualsTheFastThumbnailMakersCentredOrNot) {
  std::vector<std::pair<TThumbnailRequest, TBitmap>> results;
  loader_.OnThumbnail = [&](const TThumbnailRequest& request, TThumbnail thumbnail) {
    results.emplace_back(request, std::move(thumbnail.Bitmap));
  };
  std::vector<TThumbnailRequest> requests;
  for (const std::string& file : pictures_.Files()) {
    requests.push_back(Request(requests.size(), file, QSize(100, 75)));
    requests.push_back(Request(requests.size(), file));
    requests.back().DevicePixelRatio = 2;
  }
  loader_.SetQueue(requests);
  ASSERT_TRUE(WaitFor([&] { return results.size() == requests.size(); }));
  for (const auto& [request, thumbnail] : results) {
    SCOPED_TRACE(request.FileName + (request.Canvas.isValid() ? " centred" : ""));
    EXPECT_EQ(request, requests[request.Id]);
    EXPECT_TRUE(SamePixels(thumbnail, test::ExpectedThumbnail(request.FileName, request.MaxSize, request.Canvas,
                                                              request.Margin)));
    EXPECT_EQ(thumbnail.devicePixelRatio(), request.DevicePixelRatio);
  }
}

TEST_F(ThumbnailLoaderTest, ANewQueueReplacesTheWaitingRequests) {
  const std::string file = pictures_.File("small.bmp");
  loader_.SetQueue({Request(1, file), Request(2, file), Request(3, file), Request(4, file)});
  ASSERT_TRUE(TwoWaiting());
  loader_.SetQueue({Request(4, file)});
  ASSERT_TRUE(WaitFor([&] { return delivered_.size() == 3; }));
  EXPECT_EQ(delivered_, (Ids{1, 2, 4}));
}

TEST_F(ThumbnailLoaderTest, ARequestMadeAndNotYetDeliveredIsNotMadeAgain) {
  const std::string file = pictures_.File("small.bmp");
  loader_.SetQueue({Request(1, file), Request(2, file)});
  ASSERT_TRUE(TwoWaiting());
  loader_.SetQueue({Request(2, file), Request(1, file), Request(3, file)});
  ASSERT_TRUE(WaitFor([&] { return delivered_.size() == 3; }));
  EXPECT_EQ(delivered_, (Ids{1, 2, 3}));
}

TEST_F(ThumbnailLoaderTest, ACancelledPictureIsNeverDelivered) {
  const std::string file = pictures_.File("small.bmp");
  loader_.SetQueue({Request(1, file), Request(2, file), Request(1, file), Request(3, file)});
  ASSERT_TRUE(TwoWaiting());
  loader_.Cancel(1);
  ASSERT_TRUE(WaitFor([&] { return delivered_.size() == 2; }));
  EXPECT_EQ(delivered_, (Ids{2, 3}));
}

TEST_F(ThumbnailLoaderTest, ASupersededRequestsResultIsDropped) {
  const std::string file = pictures_.File("small.bmp");
  loader_.SetQueue({Request(1, file), Request(2, file)});
  ASSERT_TRUE(TwoWaiting());
  TThumbnailRequest later = Request(1, file);
  later.Generation = 1;
  std::vector<TThumbnailRequest> generations;
  loader_.OnThumbnail = [&](const TThumbnailRequest& request, TThumbnail) { generations.push_back(request); };
  loader_.SetQueue({later});
  ASSERT_TRUE(WaitFor([&] { return generations.size() == 2; }));
  EXPECT_EQ(generations[0].Id, 2u);
  EXPECT_EQ(generations[1], later);
}

// Under the sanitizers: workers busy with large pictures stop with the
// loader, and nothing arrives afterwards.
TEST(ThumbnailLoader, DestroyedWhileWorkingItDeliversNothing) {
  test::Sandbox sandbox;
  const std::string file = sandbox.Write("large.jpg", test::MakeJpeg(test::NoiseBitmap(1600, 1200, 4)));
  int delivered = 0;
  auto loader = std::make_unique<TThumbnailLoader>(4);
  loader->OnThumbnail = [&](const TThumbnailRequest&, TThumbnail) { ++delivered; };
  std::vector<TThumbnailRequest> requests;
  for (std::uint64_t id = 0; id < 16; ++id) requests.push_back(Request(id, file));
  loader->SetQueue(requests);
  ASSERT_TRUE(WaitWithoutEvents([&] { return loader->Waiting() > 0; }));
  loader.reset();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(delivered, 0);
}

}  // namespace
}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
// The picture list over 2,000 camera pictures of 4000 x 3000, scrolled from
// top to bottom a page at a time: how long after each step every visible
// thumbnail is drawn, and the longest time any one event keeps the interface
// thread, beside the goal of decoding the page's pictures once in fast mode,
// spread over the cores, plus 20 %.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QThread>
#include <QTimer>

#include "GalleryProp.h"
#include "ImageFixtures.h"
#include "ImageView.h"
#include "ParallelFor.h"
#include "PicIcon.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

constexpr int kPictures = 2000;
constexpr int kDistinctFiles = 8;

// Times every event the interface thread handles at the top level, and
// notes when the watched widget last finished painting.
class TimedApplication : public QApplication {
public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    if (QThread::currentThread() != thread()) return QApplication::notify(receiver, event);
    QElapsedTimer clock;
    clock.start();
    ++depth_;
    const bool result = QApplication::notify(receiver, event);
    --depth_;
    if (depth_ == 0) Longest = std::max(Longest, clock.nsecsElapsed());
    // Widgets paint inside the window's update request.
    if (receiver == Painted && event->type() == QEvent::Paint) LastPaint = Clock.nsecsElapsed();
    return result;
  }

  qint64 Longest = 0;
  QObject* Painted = nullptr;
  qint64 LastPaint = -1;
  QElapsedTimer Clock;

private:
  int depth_ = 0;
};

TimedApplication& App() {
  static int argc = 1;
  static char name[] = "ImageViewBenchmark";
  static char* argv[] = {name, nullptr};
  static TimedApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* application = new TimedApplication(argc, argv);
    application->Clock.start();
    return application;
  }();
  return *app;
}

// A photograph-like picture: smooth shading with a little grain.
TBitmap Photo(unsigned seed) {
  TBitmap bitmap = NewBitmap(4000, 3000);
  std::mt19937 random(seed);
  const double phase = seed * 0.7;
  for (int y = 0; y < bitmap.height(); ++y) {
    std::uint8_t* line = bitmap.scanLine(y);
    for (int x = 0; x < bitmap.width(); ++x) {
      const double shade = 0.5 + 0.5 * std::sin(x / 300.0 + phase) * std::cos(y / 200.0 - phase);
      for (int c = 0; c < 3; ++c) {
        line[3 * x + c] = static_cast<std::uint8_t>(std::clamp(shade * (160 + 40 * c) + (random() & 15), 0.0, 255.0));
      }
    }
  }
  return bitmap;
}

// A few pictures, made once, and 2,000 symbolic links to them.
const std::vector<std::string>& Pictures() {
  static const test::Sandbox sandbox;
  static const std::vector<std::string> links = [] {
    std::vector<std::string> files;
    for (unsigned seed = 0; seed < kDistinctFiles; ++seed) {
      files.push_back(sandbox.Write("photo" + std::to_string(seed) + ".jpg", test::MakeJpeg(Photo(seed))));
    }
    std::vector<std::string> result;
    for (int i = 0; i < kPictures; ++i) {
      result.push_back(sandbox.File("IMG_" + std::to_string(1000 + i) + ".jpg"));
      std::filesystem::create_symlink(files[std::size_t(i % kDistinctFiles)], result.back());
    }
    return result;
  }();
  return links;
}

// One fast-mode thumbnail of a picture on one thread, in milliseconds.
double DecodeMilliseconds(int side) {
  const std::vector<std::string>& pictures = Pictures();
  TPicIcon icon;
  icon.Fast = true;
  icon.MaxWidth = side;
  icon.MaxHeight = side;
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < 2 * kDistinctFiles; ++i) icon.LoadFromFile(pictures[std::size_t(i)]);
  return clock.nsecsElapsed() / 1e6 / (2 * kDistinctFiles);
}

// The same on every core at once, in milliseconds per picture: what the
// machine, shared as it is, gives when the thumbnails have it to themselves.
double ParallelDecodeMilliseconds(int side) {
  const std::vector<std::string>& pictures = Pictures();
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const int count = 4 * int(cores);
  QElapsedTimer clock;
  clock.start();
  ParallelFor(count, cores, [&](int begin, int end) {
    TPicIcon icon;
    icon.Fast = true;
    icon.MaxWidth = side;
    icon.MaxHeight = side;
    for (int i = begin; i < end; ++i) icon.LoadFromFile(pictures[std::size_t(i)]);
  });
  return clock.nsecsElapsed() / 1e6 / count;
}

std::vector<int> VisibleRows(const TImageView& view) {
  std::vector<int> rows;
  for (int row = 0; row < view.Count(); ++row) {
    if (view.visualRect(view.model()->index(row, 0)).intersects(view.viewport()->rect())) rows.push_back(row);
  }
  return rows;
}

// When each item's thumbnail last arrived, by the interface thread's clock.
class TArrivals {
public:
  TArrivals(TimedApplication& app, const TImageView& view) : times_(Pictures().size(), -1) {
    QObject::connect(view.model(), &QAbstractItemModel::dataChanged, view.model(),
                     [this, &app](const QModelIndex& first, const QModelIndex& last) {
                       for (int row = first.row(); row <= last.row(); ++row) times_[std::size_t(row)] = app.Clock.nsecsElapsed();
                     });
  }
  qint64 At(int row) const { return times_[std::size_t(row)]; }

private:
  std::vector<qint64> times_;
};

// Lets events run until every visible thumbnail is made and painted after
// since; returns when that paint ended.
qint64 WaitForPage(TimedApplication& app, const TImageView& view, const TArrivals& arrivals, qint64 since) {
  QTimer wake;  // keeps the wait from sleeping past a paint
  wake.start(2);
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    qint64 last = since;
    bool made = true;
    for (const int row : VisibleRows(view)) {
      made = made && view.HasThumbnail(row);
      last = std::max(last, arrivals.At(row));
    }
    if (made && app.LastPaint > last) return app.LastPaint;
  }
}

struct TPages {
  std::vector<double> Times;  // ms from each step to its page drawn
  std::vector<double> Goals;  // ms of decoding its pictures once on all cores, plus 20 %
};

TPages ScrollPageByPage(TimedApplication& app, TImageView& view, const TArrivals& arrivals, double decodeMs) {
  TPages pages;
  QScrollBar* bar = view.verticalScrollBar();
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  while (bar->value() < bar->maximum()) {
    const qint64 step = app.Clock.nsecsElapsed();
    QMetaObject::invokeMethod(bar, [bar] { bar->setValue(bar->value() + bar->pageStep()); }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    const qint64 drawn = WaitForPage(app, view, arrivals, step);
    pages.Times.push_back((drawn - step) / 1e6);
    pages.Goals.push_back(double(VisibleRows(view).size()) * decodeMs / cores * 1.2);
  }
  return pages;
}

// Fills the list with every picture as the main window does when it opens
// a gallery, shows it and waits for the first page; in milliseconds from the
// start: the items added, the list first drawn, the first page complete.
std::array<double, 3> Open(TimedApplication& app, TPicGallery& gallery, TImageView& view, const TArrivals& arrivals) {
  const qint64 start = app.Clock.nsecsElapsed();
  const auto since = [&](qint64 time) { return (time - start) / 1e6; };
  for (const std::string& file : Pictures()) {
    TImageFile* picture = gallery.ImageFiles().Add();
    picture->FileName = file;
    view.AddImageFile(picture);
  }
  view.SortByGalleryOrder();
  const double added = since(app.Clock.nsecsElapsed());
  view.show();
  while (app.LastPaint < start) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double drawn = since(app.LastPaint);
  return {added, drawn, since(WaitForPage(app, view, arrivals, start))};
}

void BM_ScrollPageByPage(benchmark::State& state) {
  TimedApplication& app = App();
  const int side = int(state.range(0));
  const double decodeMs = DecodeMilliseconds(side);
  const double parallelDecodeMs = ParallelDecodeMilliseconds(side);
  for (auto _ : state) {
    TPicGallery gallery;
    TImageView view;
    view.resize(800, 600);
    view.SetThumbnailMode(true);
    view.SetIconSize(side, side);
    app.Painted = view.viewport();
    const TArrivals arrivals(app, view);
    const auto [addMs, openMs, firstPageMs] = Open(app, gallery, view, arrivals);
    app.Longest = 0;
    const TPages pages = ScrollPageByPage(app, view, arrivals, decodeMs);
    const auto over = std::inner_product(pages.Times.begin(), pages.Times.end(), pages.Goals.begin(), 0, std::plus<>(),
                                         [](double time, double goal) { return time > goal ? 1 : 0; });
    state.counters["add_2000_ms"] = addMs;
    state.counters["open_ms"] = openMs;
    state.counters["first_page_ms"] = firstPageMs;
    state.counters["pages"] = double(pages.Times.size());
    state.counters["page_ms_mean"] = std::accumulate(pages.Times.begin(), pages.Times.end(), 0.0) / pages.Times.size();
    state.counters["page_ms_max"] = *std::max_element(pages.Times.begin(), pages.Times.end());
    state.counters["goal_ms_mean"] = std::accumulate(pages.Goals.begin(), pages.Goals.end(), 0.0) / pages.Goals.size();
    state.counters["pages_over_goal"] = over;
    state.counters["block_ms_max"] = app.Longest / 1e6;
    state.counters["decode_ms"] = decodeMs;
    state.counters["decode_all_cores_ms"] = parallelDecodeMs;
  }
}
BENCHMARK(BM_ScrollPageByPage)->Arg(50)->Arg(100)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace tessalune

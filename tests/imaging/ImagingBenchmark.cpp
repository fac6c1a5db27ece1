// SPDX-License-Identifier: GPL-3.0-or-later
// The publishing hot loop and the preview path on a 12-megapixel picture.
#include "ImageFixtures.h"
#include "ImageResize.h"
#include "JpegCodec.h"
#include "PicIcon.h"
#include "ResampleLine.h"
#include "TestSupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace tessalune {
namespace {

// A photograph-like 4000 x 3000 picture: smooth shading with a little grain.
const TBitmap& Photo() {
  static const TBitmap photo = [] {
    TBitmap bitmap = NewBitmap(4000, 3000);
    std::mt19937 random(1);
    for (int y = 0; y < bitmap.height(); ++y) {
      std::uint8_t* line = bitmap.scanLine(y);
      for (int x = 0; x < bitmap.width(); ++x) {
        const double shade = 0.5 + 0.5 * std::sin(x / 300.0) * std::cos(y / 200.0);
        for (int c = 0; c < 3; ++c) {
          line[3 * x + c] = static_cast<std::uint8_t>(std::clamp(shade * (160 + 40 * c) + (random() & 15), 0.0, 255.0));
        }
      }
    }
    return bitmap;
  }();
  return photo;
}

const std::string& PhotoFile() {
  static const test::Sandbox sandbox;
  static const std::string file = sandbox.Write("photo.jpg", test::MakeJpeg(Photo()));
  return file;
}

void BM_ResampleBitmap(benchmark::State& state) {
  TBitmap source = Photo();
  for (auto _ : state) {
    TBitmap target = NewBitmap(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    ResampleBitmap(source, target, rkLanczos3);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_ResampleBitmap)->Args({800, 600})->Args({127, 95})->Unit(benchmark::kMillisecond)->UseRealTime();

// One thread with each instruction set: 0 plain, 1 AVX2, 2 AVX-512.
void BM_ResampleOneThread(benchmark::State& state) {
  const auto set = static_cast<resample::TInstructionSet>(state.range(2));
  const std::vector<resample::TInstructionSet> sets = resample::AvailableInstructionSets();
  if (std::find(sets.begin(), sets.end(), set) == sets.end()) {
    state.SkipWithError("the processor lacks this instruction set");
    return;
  }
  resample::UseInstructionSet(set);
  TBitmap source = Photo();
  for (auto _ : state) {
    TBitmap target = NewBitmap(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    resample::ResampleBitmapThreads(source, target, rkLanczos3, 1);
    benchmark::DoNotOptimize(target.constBits());
  }
  resample::UseInstructionSet(sets.back());
}
BENCHMARK(BM_ResampleOneThread)
    ->ArgsProduct({{800}, {600}, {0, 1, 2}})
    ->ArgsProduct({{127}, {95}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_FastStretchBitmap(benchmark::State& state) {
  const TBitmap& source = Photo();
  for (auto _ : state) {
    TBitmap target = NewBitmap(100, 75);
    FastStretchBitmap(source, target);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_FastStretchBitmap)->Unit(benchmark::kMillisecond);

void BM_BareJpegDecode(benchmark::State& state) {
  TJPEGImage jpeg;
  jpeg.LoadFromFile(PhotoFile());
  for (auto _ : state) benchmark::DoNotOptimize(jpeg.Decode().constBits());
}
BENCHMARK(BM_BareJpegDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PicIconLoadFromFile(benchmark::State& state) {
  TPicIcon icon;
  icon.Fast = state.range(0) != 0;
  for (auto _ : state) {
    icon.LoadFromFile(PhotoFile());
    if (icon.Bitmap.size() != QSize(127, 95)) state.SkipWithError("thumbnail failed");
  }
  state.SetLabel(icon.Fast ? "fast" : "publish");
}
BENCHMARK(BM_PicIconLoadFromFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tessalune

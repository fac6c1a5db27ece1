// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and loading a gallery of 100,000 pictures.
#include <benchmark/benchmark.h>

#include "GalleryProp.h"
#include "TestSupport.h"
#include "UserPrompt.h"

namespace tessalune {
namespace {

constexpr int kPictures = 100000;

void FillLargeGallery(TPicGallery& gallery) {
  gallery.Clear();
  gallery.SetOutputFolder("/home/user/Web/holiday");
  gallery.FDuplicateAnswer = mrYesToAll;
  for (int i = 0; i < kPictures; ++i) {
    TImageFile* picture = gallery.AddFile("/home/user/Pictures/2026/holiday/IMG_" +
                                          std::to_string(100000 + i) + ".jpg");
    if (i % 3 == 0) picture->Caption = "Day " + std::to_string(i / 300) + ":\r\nit's the sea again";
  }
}

void BM_SaveLargeGallery(benchmark::State& state) {
  test::Sandbox sandbox;
  TPicGallery gallery;
  FillLargeGallery(gallery);
  const std::string file = sandbox.File("large.gmf");
  for (auto _ : state) gallery.SaveToFile(file);
}
BENCHMARK(BM_SaveLargeGallery)->Unit(benchmark::kMillisecond);

void BM_LoadLargeGallery(benchmark::State& state) {
  test::Sandbox sandbox;
  TPicGallery gallery;
  FillLargeGallery(gallery);
  const std::string file = sandbox.File("large.gmf");
  gallery.SaveToFile(file);
  for (auto _ : state) {
    TPicGallery loaded;
    loaded.Clear();
    loaded.LoadFromFile(file);
    benchmark::DoNotOptimize(loaded.GetImageCount());
  }
}
BENCHMARK(BM_LoadLargeGallery)->Unit(benchmark::kMillisecond);

void BM_CheckSumLargeGallery(benchmark::State& state) {
  TPicGallery gallery;
  FillLargeGallery(gallery);
  for (auto _ : state) benchmark::DoNotOptimize(gallery.GetCheckSum());
}
BENCHMARK(BM_CheckSumLargeGallery)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessalune

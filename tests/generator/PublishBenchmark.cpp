// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing 24 camera-sized pictures (4000 x 3000 JPEG) with thumbnails and
// 800 x 600 JPEG copies, beside the time it takes only to decode those
// pictures once each at full scale.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QImage>

#include <filesystem>
#include <vector>

#include "CameraPhoto.h"
#include "GalleryProp.h"
#include "Globals.h"
#include "JpegCodec.h"
#include "PageGen.h"
#include "PicIcon.h"
#include "TestSupport.h"

namespace tessalune {
namespace {

constexpr int kPictures = 24;

// The pictures, written once per run of the benchmark program.
class Pictures {
public:
  Pictures() {
    for (int n = 0; n < kPictures; ++n) {
      files_.push_back(box_.File("camera/photo_" + std::to_string(n + 1) + ".jpg"));
    }
    std::filesystem::create_directories(box_.File("camera"));
    for (int n = 0; n < kPictures; ++n) Write(n);
  }
  const std::vector<std::string>& Files() const { return files_; }
  std::string Output() const { return box_.File("out"); }

private:
  void Write(int n) const {
    bench::CameraPhoto(n).save(QString::fromStdString(files_[std::size_t(n)]), "JPG", 90);
  }

  test::Sandbox box_;
  std::vector<std::string> files_;
};

// CPU seconds used so far by every thread of the process.
double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Reports the CPU time of all threads per iteration beside the wall time.
class ProcessCpuCounter {
public:
  explicit ProcessCpuCounter(benchmark::State& state) : state_(state), start_(ProcessCpuSeconds()) {}
  ~ProcessCpuCounter() {
    state_.counters["all_threads_cpu_s"] =
        benchmark::Counter((ProcessCpuSeconds() - start_) / double(state_.iterations()));
  }

private:
  benchmark::State& state_;
  double start_;
};

const Pictures& ThePictures() {
  static const Pictures pictures;
  return pictures;
}

void BM_DecodeOnce(benchmark::State& state) {
  const Pictures& pictures = ThePictures();
  ProcessCpuCounter cpu(state);
  for (auto _ : state) {
    for (const std::string& file : pictures.Files()) {
      TJPEGImage jpeg;
      jpeg.LoadFromFile(file);
      benchmark::DoNotOptimize(jpeg.Decode());
    }
  }
}

void BM_Publish(benchmark::State& state) {
  const Pictures& pictures = ThePictures();
  ScopedTemplatesRoot root(TESSALUNE_SOURCE_TEMPLATES);
  TPicGallery gallery;
  gallery.Clear();
  gallery.SetOutputFolder(pictures.Output());
  gallery.SetImageResize(true);
  gallery.SetOverrideFiles(true);
  for (const std::string& file : pictures.Files()) {
    gallery.ImageFiles().Add()->FileName = file;
  }
  ProcessCpuCounter cpu(state);
  for (auto _ : state) {
    TPageGenerator generator;
    generator.Publish(gallery);
  }
}

// One picture through one thumbnail maker: range(0) 0 for a thumbnail,
// 1 for an 800 x 600 copy.
void BM_OnePicture(benchmark::State& state) {
  const Pictures& pictures = ThePictures();
  TPicIcon icon;
  icon.MaxWidth = state.range(0) ? 800 : 128;
  icon.MaxHeight = state.range(0) ? 600 : 96;
  for (auto _ : state) {
    icon.LoadFromFile(pictures.Files()[0]);
    benchmark::DoNotOptimize(icon.Bitmap);
  }
}

BENCHMARK(BM_OnePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DecodeOnce)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Publish)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace tessalune

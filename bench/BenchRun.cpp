// SPDX-License-Identifier: GPL-3.0-or-later
// The work that bench/publish-speed times, one piece per run of this program:
//
//   tessalune_bench photos <folder> <count>
//       writes photo_1.jpg ... camera photos (4000 x 3000, quality 90)
//   tessalune_bench decode <threads> <photo>...
//       decodes every photo once at full scale, <threads> at a time
//   tessalune_bench publish <threads> <output folder> <photo>...
//       publishes the photos with the Grid template, thumbnails and
//       800 x 600 converted copies, on <threads> threads
//
// A thread count of 0 means one per core.
#include <QGuiApplication>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "CameraPhoto.h"
#include "GalleryProp.h"
#include "Globals.h"
#include "JpegCodec.h"
#include "PageGen.h"

namespace tessalune::bench {
namespace {

unsigned Cores() { return std::max(1u, std::thread::hardware_concurrency()); }

// Runs work(i) for i = 0 .. count - 1 on the given number of threads, each
// taking the next i as it finishes the last.
template <class Work>
void EachOnThreads(int count, unsigned threads, const Work& work) {
  std::atomic<int> next{0};
  const auto run = [&] {
    for (int i = next++; i < count; i = next++) work(i);
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < (threads ? threads : Cores()); ++t) pool.emplace_back(run);
  run();
  for (std::thread& thread : pool) thread.join();
}

int MakePhotos(const std::string& folder, int count) {
  std::filesystem::create_directories(folder);
  std::atomic<bool> failed{false};
  EachOnThreads(count, 0, [&](int i) {
    const std::string file = folder + "/photo_" + std::to_string(i + 1) + ".jpg";
    if (!CameraPhoto(i).save(QString::fromStdString(file), "JPG", 90)) failed = true;
  });
  return failed ? 1 : 0;
}

int Decode(unsigned threads, const std::vector<std::string>& photos) {
  EachOnThreads(int(photos.size()), threads, [&](int i) {
    TJPEGImage jpeg;
    jpeg.LoadFromFile(photos[std::size_t(i)]);
    if (jpeg.Decode().isNull()) std::abort();
  });
  return 0;
}

int Publish(unsigned threads, const std::string& output, const std::vector<std::string>& photos) {
  const ScopedTemplatesRoot root(TESSALUNE_SOURCE_TEMPLATES);
  TPicGallery gallery;
  gallery.Clear();
  gallery.SetOutputFolder(output);
  gallery.SetImageResize(true);
  gallery.SetOverrideFiles(true);
  for (const std::string& photo : photos) gallery.ImageFiles().Add()->FileName = photo;
  TPageGenerator generator;
  generator.Threads = threads;
  generator.Publish(gallery);
  return 0;
}

int Usage() {
  std::cerr << "usage: tessalune_bench photos <folder> <count>\n"
               "       tessalune_bench decode <threads> <photo>...\n"
               "       tessalune_bench publish <threads> <output folder> <photo>...\n";
  return 2;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() == 3 && args[0] == "photos") return MakePhotos(args[1], std::stoi(args[2]));
  if (args.size() >= 3 && args[0] == "decode") {
    return Decode(unsigned(std::stoul(args[1])), {args.begin() + 2, args.end()});
  }
  if (args.size() >= 4 && args[0] == "publish") {
    return Publish(unsigned(std::stoul(args[1])), args[2], {args.begin() + 3, args.end()});
  }
  return Usage();
}

}  // namespace
}  // namespace tessalune::bench

int main(int argc, char** argv) {
  // Nothing is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    return tessalune::bench::Run({argv + 1, argv + argc});
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes, saved under each picture extension in turn (the
// first byte chooses), must load into a thumbnail or the error mark, and
// their header may declare no more pixels than a picture may hold.
#include "PicIcon.h"


#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

const char* const kExtensions[] = {"jpg", "gif", "bmp", "ico", "wmf", "emf"};

// A scratch folder for the one input file, removed when the run ends.
struct WorkFolder {
  std::filesystem::path path;
  WorkFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessalune-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path = pattern;
  }
  ~WorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const WorkFolder folder;
  const std::string file = (folder.path / "input.").string() + kExtensions[data[0] % std::size(kExtensions)];
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) std::abort();
  std::fwrite(data + 1, 1, size - 1, out);
  std::fclose(out);

  const std::int64_t declared = tessalune::DeclaredPixels(file);
  if (declared < 0 || declared > tessalune::MaxPicturePixels()) std::abort();
  tessalune::TPicIcon icon;
  icon.LoadFromFile(file);
  if (icon.Bitmap.isNull()) std::abort();  // every load ends in a picture or the error mark
  return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to TPicGallery::LoadFromFile. Whatever it accepts must
// be written back as text that reads again into the very same gallery.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Errors.h"
#include "GalleryProp.h"
#include "ObjectParser.h"
#include "ObjectText.h"

namespace {

const std::string& ScratchFile() {
  static const std::string name = "/tmp/tessalune-gallery-fuzz-" + std::to_string(::getpid()) + ".gmf";
  return name;
}

void WriteScratch(const char* data, std::size_t size) {
  std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessalune;
  WriteScratch(reinterpret_cast<const char*>(data), size);
  TPicGallery gallery;
  gallery.Clear();
  try {
    gallery.LoadFromFile(ScratchFile());
  } catch (const EReadError&) {
    return 0;
  }
  const std::string binary = gallery.WriteBinary();
  const std::string text = ObjectBinaryToText(binary);
  if (ObjectTextToBinary(text) != binary) std::abort();
  WriteScratch(text.data(), text.size());
  TPicGallery again;
  again.Clear();
  again.LoadFromFile(ScratchFile());
  if (again.WriteBinary() != binary) std::abort();
  return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to TPicGallery::LoadFromFile. Whatever it accepts must
// be written back as text that reads again into the very same gallery.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "Errors.h"
#include "GalleryProp.h"
#include "ObjectParser.h"
#include "ObjectText.h"

namespace {

// An in-memory file, reached by name through /proc, so that no run leaves a
// file behind.
struct TScratch {
  int Fd;
  std::string Name;
};

const TScratch& Scratch() {
  static const TScratch scratch = [] {
    const int fd = ::memfd_create("gallery-fuzz", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    return TScratch{fd, "/proc/self/fd/" + std::to_string(fd)};
  }();
  return scratch;
}

void WriteScratch(const char* data, std::size_t size) {
  if (::ftruncate(Scratch().Fd, 0) != 0) std::abort();
  if (size > 0 && ::pwrite(Scratch().Fd, data, size, 0) != ssize_t(size)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessalune;
  WriteScratch(reinterpret_cast<const char*>(data), size);
  TPicGallery gallery;
  gallery.Clear();
  try {
    gallery.LoadFromFile(Scratch().Name);
  } catch (const EReadError&) {
    return 0;
  }
  const std::string binary = gallery.WriteBinary();
  const std::string text = ObjectBinaryToText(binary);
  if (ObjectTextToBinary(text) != binary) std::abort();
  WriteScratch(text.data(), text.size());
  TPicGallery again;
  again.Clear();
  again.LoadFromFile(Scratch().Name);
  if (again.WriteBinary() != binary) std::abort();
  return 0;
}

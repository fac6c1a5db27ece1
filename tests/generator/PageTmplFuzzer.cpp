// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the page template as a template file, a
// placeholder table and a sequence of sections, saves the page and checks
// that the file holds exactly the page text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>

#include "FileLib.h"
#include "PageTmpl.h"

namespace {

// An in-memory file reachable by name, so that the template goes through the
// real file routines without touching the disk.
std::string MemoryFile(const char* name) {
  const int fd = memfd_create(name, 0);
  if (fd < 0) __builtin_trap();
  return "/proc/self/fd/" + std::to_string(fd);
}

// A file in a temporary folder of its own, which goes when the run ends: a
// page takes the place of its file, and of a link there, by a new file
// beside it.
std::string FolderFile(const char* name) {
  static std::string folder;
  folder = (std::filesystem::temp_directory_path() / "tessalune-fuzz-XXXXXX").string();
  if (!mkdtemp(folder.data())) __builtin_trap();
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
  return folder + "/" + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string templateFile = MemoryFile("template");
  static const std::string pageFile = FolderFile("page.html");
  FuzzedDataProvider input(data, size);

  tessalune::TPageTemplate page;
  const int entries = input.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < entries; ++i) {
    const std::string name = input.ConsumeRandomLengthString(16);
    page.Properties().SetValue(name, input.ConsumeRandomLengthString(64));
  }
  const std::string sections = input.ConsumeRandomLengthString(8);
  const bool withBanner = input.ConsumeBool();
  tessalune::WriteFileBytes(templateFile, input.ConsumeRemainingBytesAsString());

  page.LoadFromFile(templateFile);
  for (const char section : sections) {
    page.AddSection(tessalune::TTemplateSection(static_cast<unsigned char>(section) % 5));
  }
  page.SaveToFile(pageFile, withBanner);
  if (tessalune::ReadFileBytes(pageFile) != page.Output()) __builtin_trap();
  return 0;
}

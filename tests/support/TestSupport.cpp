// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace tessalune::test {

Sandbox::Sandbox() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tessalune-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a test sandbox");
  path_ = pattern;
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string Sandbox::File(const std::string& name) const { return (path_ / name).string(); }

std::string Sandbox::Write(const std::string& name, const std::string& bytes) const {
  const std::filesystem::path file = path_ / name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write test file " + file.string());
  return file.string();
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TestDataPath(const std::string& name) {
  const char* root = std::getenv("TESSALUNE_TEST_DATA");
  return (std::filesystem::path(root ? root : TESSALUNE_TEST_DATA_DIR) / name).string();
}

}  // namespace tessalune::test

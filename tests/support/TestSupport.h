// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace tessalune::test {

// A fresh folder below the system's temporary folder, removed with everything
// in it when the sandbox goes out of scope.
class Sandbox {
public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The full path of a name inside the sandbox, as a string.
  std::string File(const std::string& name) const;
  // Writes bytes to a file inside the sandbox (creating parent folders) and
  // returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const;

private:
  std::filesystem::path path_;
};

// The bytes of a file; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// The full path of a file in tests/data ($TESSALUNE_TEST_DATA overrides the folder).
std::string TestDataPath(const std::string& name);

}  // namespace tessalune::test

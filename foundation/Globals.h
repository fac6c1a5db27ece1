// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessalune {

// The product's web page: the link of the "Created by" line of published pages
// and the address shown in the About box.
inline constexpr const char kProductWebPage[] = "https://tessalune.org/";

// Program-wide values fixed once when the program starts and never written
// afterwards. Tests point them elsewhere only through the scoped overrides
// below, which restore the previous value when they go out of scope.

// The folder that holds the page templates: the running executable's folder
// plus "Templates", without a trailing separator.
const std::string& TemplatesRoot();

// The templates root for an executable at exePath: everything up to and
// including its last "/", followed by "Templates".
std::string TemplatesRootFor(const std::string& exePath);

// The decimal separator of the user's locale (LC_NUMERIC, LC_ALL or LANG as
// the C library resolves them); "." when the locale cannot be loaded.
const std::string& DecimalSeparator();

// While an object of this class lives, TemplatesRoot() answers `root`.
class ScopedTemplatesRoot {
public:
  explicit ScopedTemplatesRoot(std::string root);
  ~ScopedTemplatesRoot();
  ScopedTemplatesRoot(const ScopedTemplatesRoot&) = delete;
  ScopedTemplatesRoot& operator=(const ScopedTemplatesRoot&) = delete;

private:
  std::string root_;
  const std::string* previous_;
};

// While an object of this class lives, DecimalSeparator() answers `separator`.
class ScopedDecimalSeparator {
public:
  explicit ScopedDecimalSeparator(std::string separator);
  ~ScopedDecimalSeparator();
  ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
  ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

private:
  std::string separator_;
  const std::string* previous_;
};

}  // namespace tessalune

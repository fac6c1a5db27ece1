// SPDX-License-Identifier: GPL-3.0-or-later
#include "Globals.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include <langinfo.h>
#include <locale.h>

namespace tessalune {
namespace {

std::string ExecutablePath() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.string();
}

std::string LocaleDecimalSeparator() {
  // A private locale object: switching the process-wide locale would change
  // how every other part of the program reads and writes numbers.
  const locale_t user = newlocale(LC_NUMERIC_MASK, "", locale_t(nullptr));
  if (user == locale_t(nullptr)) return ".";
  std::string separator = nl_langinfo_l(RADIXCHAR, user);
  freelocale(user);
  return separator.empty() ? "." : separator;
}

struct StartupValues {
  std::string templatesRoot = TemplatesRootFor(ExecutablePath());
  std::string decimalSeparator = LocaleDecimalSeparator();
};

const StartupValues& Startup() {
  static const StartupValues values;
  return values;
}

// Fixes the values while the program starts, before any window exists.
[[maybe_unused]] const StartupValues& fixedAtStartup = Startup();

const std::string* templatesRootOverride = nullptr;
const std::string* decimalSeparatorOverride = nullptr;

}  // namespace

std::string TemplatesRootFor(const std::string& exePath) {
  const std::string::size_type slash = exePath.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash + 1);
  return folder + "Templates";
}

const std::string& TemplatesRoot() {
  return templatesRootOverride ? *templatesRootOverride : Startup().templatesRoot;
}

const std::string& DecimalSeparator() {
  return decimalSeparatorOverride ? *decimalSeparatorOverride : Startup().decimalSeparator;
}

ScopedTemplatesRoot::ScopedTemplatesRoot(std::string root)
    : root_(std::move(root)), previous_(templatesRootOverride) {
  templatesRootOverride = &root_;
}

ScopedTemplatesRoot::~ScopedTemplatesRoot() { templatesRootOverride = previous_; }

ScopedDecimalSeparator::ScopedDecimalSeparator(std::string separator)
    : separator_(std::move(separator)), previous_(decimalSeparatorOverride) {
  decimalSeparatorOverride = &separator_;
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() { decimalSeparatorOverride = previous_; }

}  // namespace tessalune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Errors.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace tessalune {

std::string Format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, pattern, measure);
  va_end(measure);
  std::string text;
  if (length > 0) {
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), pattern, args);
    text.assign(buffer.data(), static_cast<size_t>(length));
  }
  va_end(args);
  return text;
}

void RaiseListIndexError(long long index) {
  throw EListError(Format("List index out of bounds (%lld)", index));
}

}  // namespace tessalune

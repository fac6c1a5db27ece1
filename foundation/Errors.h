// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace tessalune {

// Base of every failure the program reports to the user. The message is the
// exact text the user sees; the default error display adds the full stop.
class Exception : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

// A list index outside 0 to count - 1: "List index out of bounds (%d)".
class EListError : public Exception {
public:
  using Exception::Exception;
};

// A file that cannot be opened: "Cannot open file %s".
class EFOpenError : public Exception {
public:
  using Exception::Exception;
};

// A file that cannot be created or written: "Cannot create file %s".
class EFCreateError : public Exception {
public:
  using Exception::Exception;
};

// A write that failed part-way: the message is the file system's own
// ("No space left on device"). The file was created, so it is a kind of
// EFCreateError for those who only ask whether a file could be written.
class EWriteError : public EFCreateError {
public:
  using EFCreateError::EFCreateError;
};

// Malformed outside data (a corrupted gallery file, a bad registry value).
class EReadError : public Exception {
public:
  using Exception::Exception;
};

// Arithmetic failures that the program raises itself rather than trapping.
class EMathError : public Exception {
public:
  using Exception::Exception;
};

// printf-style formatting for the message texts ("Cannot open file %s").
std::string Format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// The list-index error with its index.
[[noreturn]] void RaiseListIndexError(long long index);

}  // namespace tessalune

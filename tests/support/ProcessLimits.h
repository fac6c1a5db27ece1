// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <string>

namespace tessalune::test {

// Limits the size of every file this process writes, for as long as the
// object lives: a write past the limit fails (EFBIG) as a full disk would,
// and the signal the kernel sends for it is ignored. Works for root too.
class ScopedFileSizeLimit {
public:
  explicit ScopedFileSizeLimit(rlim_t bytes);
  ~ScopedFileSizeLimit();
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
  struct rlimit saved_ {};
  void (*savedSignal_)(int) = SIG_DFL;
};

// How a child process ended: its exit status, or why it could not run.
struct ChildOutcome {
  int Status = -1;
  std::string Unavailable;  // not empty: the child could not be made to run so
};

// Runs body in a child process, which exits with body's result; an exception
// in body exits with 1. What the child changes (its limits, its memory) stays
// with it.
ChildOutcome RunInChildProcess(const std::function<int()>& body);

// Runs body in a child process under a user to whom permission checks apply:
// the current user, or the unprivileged "nobody" (uid and gid 65534) when the
// tests run as root, who may write anything. The child exits with body's
// result; an exception in body exits with 1. Files the child must reach have
// to be open to others.
ChildOutcome RunAsUnprivilegedUser(const std::function<int()>& body);

}  // namespace tessalune::test

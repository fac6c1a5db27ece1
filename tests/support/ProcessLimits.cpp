// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessLimits.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>

namespace tessalune::test {
namespace {

constexpr uid_t kNobody = 65534;
// The child's exit status when it cannot give up root's privileges.
constexpr int kCannotDrop = 125;

bool DropPrivileges() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 &&
         ::geteuid() == kNobody;
}

}  // namespace

ScopedFileSizeLimit::ScopedFileSizeLimit(rlim_t bytes) {
  ::getrlimit(RLIMIT_FSIZE, &saved_);
  savedSignal_ = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = saved_;
  limit.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
  ::setrlimit(RLIMIT_FSIZE, &saved_);
  ::signal(SIGXFSZ, savedSignal_);
}

ChildOutcome RunInChildProcess(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child < 0) return {-1, "cannot start a child process"};
  if (child == 0) {
    int status = 1;
    try {
      status = body();
    } catch (const std::exception&) {
      status = 1;
    }
    ::_exit(status);
  }
  int status = 0;
  pid_t ended = -1;
  do {
    ended = ::waitpid(child, &status, 0);
  } while (ended < 0 && errno == EINTR);
  if (ended < 0 || !WIFEXITED(status)) return {-1, "the child process was killed"};
  return {WEXITSTATUS(status), ""};
}

ChildOutcome RunAsUnprivilegedUser(const std::function<int()>& body) {
  const ChildOutcome outcome = RunInChildProcess([&body] { return DropPrivileges() ? body() : kCannotDrop; });
  if (outcome.Status == kCannotDrop) return {-1, "root cannot become the unprivileged user nobody here"};
  return outcome;
}

}  // namespace tessalune::test

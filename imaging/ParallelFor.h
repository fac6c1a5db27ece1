// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

namespace tessalune {

// Work below this many elementary steps is not worth a thread.
constexpr std::int64_t kWorkPerThread = std::int64_t{1} << 18;

// How many threads to give count slices of work steps: requested (0 for one
// per core), never more than the slices or than the work is worth.
inline unsigned ChooseThreads(unsigned requested, int count, std::int64_t work) {
  const std::int64_t cores = requested ? requested : std::max(1u, std::thread::hardware_concurrency());
  return static_cast<unsigned>(std::max<std::int64_t>(1, std::min({cores, std::int64_t{count}, work / kWorkPerThread + 1})));
}

// Runs fn(begin, end) over consecutive slices of 0 .. count - 1, one slice per
// thread, the first on the calling thread. An exception thrown in any slice
// is raised here after every thread has finished.
template <class Fn>
void ParallelFor(int count, unsigned threads, const Fn& fn) {
  if (threads <= 1 || count <= 1) {
    fn(0, count);
    return;
  }
  const int chunk = static_cast<int>((count + static_cast<int>(threads) - 1) / static_cast<int>(threads));
  std::vector<std::exception_ptr> errors(threads);
  const auto run = [&](unsigned slot) {
    try {
      fn(static_cast<int>(slot) * chunk, std::min(count, static_cast<int>(slot + 1) * chunk));
    } catch (...) {
      errors[slot] = std::current_exception();
    }
  };
  std::vector<std::thread> pool;
  try {
    for (unsigned slot = 1; slot < threads && static_cast<int>(slot) * chunk < count; ++slot) pool.emplace_back(run, slot);
  } catch (...) {
    for (auto& thread : pool) thread.join();
    throw;
  }
  run(0);
  for (auto& thread : pool) thread.join();
  for (const auto& error : errors) {
    if (error) std::rethrow_exception(error);
  }
}

}  // namespace tessalune

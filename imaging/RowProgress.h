// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

namespace tessalune {

// How many rows of a bitmap a producer on another thread has finished, top
// to bottom, so that consumers can start on the first rows before the last
// exist. A failed producer releases every waiting consumer.
class TRowProgress {
public:
  // Rows 0 .. rows - 1 are complete.
  void Publish(int rows) noexcept {
    rows_.store(rows, std::memory_order_release);
    rows_.notify_all();
  }
  void Fail() noexcept { Publish(kFailed); }

  // Blocks until the first rows rows are complete; false when the producer
  // failed first.
  bool WaitFor(int rows) const noexcept {
    for (int ready = rows_.load(std::memory_order_acquire); ready != kFailed;
         ready = rows_.load(std::memory_order_acquire)) {
      if (ready >= rows) return true;
      rows_.wait(ready, std::memory_order_acquire);
    }
    return false;
  }

private:
  static constexpr int kFailed = -1;
  std::atomic<int> rows_{0};
};

}  // namespace tessalune

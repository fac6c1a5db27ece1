// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ByteBudget.h"

namespace tessalune {

class TPicIcon;

// One picture to load and scale: the thumbnail maker's settings for it.
struct TRenderJob {
  std::string FileName;
  int MaxWidth = 0;
  int MaxHeight = 0;
  int Quality = 0;
};

// Gives a thumbnail maker the settings of a job, in publishing quality.
void SetUpIcon(TPicIcon& icon, const TRenderJob& job);

// Loads and scales pictures on worker threads ahead of the publisher, each in
// a thumbnail maker of its own, of which only the scaled Bitmap is kept. The
// publisher takes the results in rising job order and writes them itself, so
// the threads change only how soon a result is ready, never which files are
// written, their bytes or their order. At most a few results wait at any
// time, and the memory that the pictures being loaded and the waiting results
// take, estimated from the pictures' sizes, stays within a budget of bytes
// (a picture larger than the whole budget is loaded alone). A job passed over
// is dropped, and destroying the object stops the workers after their current
// picture.
class TRenderAhead {
public:
  explicit TRenderAhead(std::vector<TRenderJob> jobs, std::int64_t budgetBytes = DefaultBudget());
  ~TRenderAhead();
  TRenderAhead(const TRenderAhead&) = delete;
  TRenderAhead& operator=(const TRenderAhead&) = delete;

  // The loaded thumbnail maker of job; every job before it is dropped. Each
  // job is taken at most once, in rising order.
  std::unique_ptr<TPicIcon> Take(int job);

  // The number of worker threads an object starts.
  static unsigned ThreadCount();
  // A quarter of the machine's memory.
  static std::int64_t DefaultBudget();
  // The most bytes, by the estimate, that loading ahead held at one time.
  std::int64_t PeakBytes() const { return budget_.Peak(); }

private:
  struct TSlot {
    std::unique_ptr<TPicIcon> Icon;
    std::exception_ptr Error;
    std::int64_t Bytes = 0;  // held in the budget while the result waits
    bool Done = false;
  };

  void Work();
  TSlot Render(std::size_t job);
  bool HasWork() const;
  void Drop(std::size_t job);

  std::vector<TRenderJob> jobs_;
  TByteBudget budget_;
  std::vector<TSlot> slots_;
  std::size_t next_ = 0;   // the next job a worker starts
  std::size_t taken_ = 0;  // jobs before this one are taken or dropped
  std::size_t window_ = 0;
  bool stop_ = false;
  std::mutex mutex_;
  std::condition_variable workReady_;
  std::condition_variable resultReady_;
  std::vector<std::thread> workers_;
};

}  // namespace tessalune

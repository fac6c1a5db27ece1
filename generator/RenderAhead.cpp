// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderAhead.h"

#include <unistd.h>

#include <algorithm>

#include "PicIcon.h"

namespace tessalune {
namespace {

// Bytes per pixel that loading and scaling a picture holds at most: its
// decoded copy, the container's own image or a turned copy, and the
// resampler's intermediate rows.
constexpr std::int64_t kWorkingBytesPerPixel = 8;

struct TRenderCost {
  std::int64_t Working;  // while the picture is loaded and scaled
  std::int64_t Result;   // while its scaled bitmap waits
};

// An estimate from the size that the picture's header gives.
TRenderCost EstimateCost(const TRenderJob& job) {
  const std::int64_t pixels = DeclaredPixels(job.FileName);
  const std::int64_t result = 3 * std::min(pixels, std::int64_t{job.MaxWidth} * job.MaxHeight);
  return {kWorkingBytesPerPixel * pixels + result, result};
}

}  // namespace

void SetUpIcon(TPicIcon& icon, const TRenderJob& job) {
  icon.Fast = false;
  icon.MaxWidth = job.MaxWidth;
  icon.MaxHeight = job.MaxHeight;
  icon.Quality = job.Quality;
}

unsigned TRenderAhead::ThreadCount() {
  return std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
}

std::int64_t TRenderAhead::DefaultBudget() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return std::int64_t{1} << 30;
  return std::int64_t{pages} * pageSize / 4;
}

TRenderAhead::TRenderAhead(std::vector<TRenderJob> jobs, std::int64_t budgetBytes)
    : jobs_(std::move(jobs)), budget_(budgetBytes), slots_(jobs_.size()) {
  const unsigned threads = std::min<std::size_t>(ThreadCount(), jobs_.size());
  // Enough waiting results to keep every worker busy while the publisher
  // writes, few enough that full-size pictures do not pile up in memory.
  window_ = threads + 2;
  for (unsigned i = 0; i < threads; ++i) {
    workers_.emplace_back([this] { Work(); });
  }
}

TRenderAhead::~TRenderAhead() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  workReady_.notify_all();
  budget_.Close();
  for (std::thread& worker : workers_) {
    worker.join();
  }
}

bool TRenderAhead::HasWork() const { return next_ < jobs_.size() && next_ < taken_ + window_; }

void TRenderAhead::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    workReady_.wait(lock, [this] { return stop_ || HasWork() || next_ >= jobs_.size(); });
    if (stop_ || next_ >= jobs_.size()) {
      return;
    }
    const std::size_t job = next_++;
    lock.unlock();
    TSlot result = Render(job);
    lock.lock();
    if (result.Done && job >= taken_) {
      slots_[job] = std::move(result);
    } else {
      budget_.Release(result.Bytes);
    }
    resultReady_.notify_all();
  }
}

// Loads and scales the job's picture once the budget has room for it. The
// slot is not Done when the job was dropped or the work stopped meanwhile.
TRenderAhead::TSlot TRenderAhead::Render(std::size_t job) {
  TSlot result;
  const TRenderCost cost = EstimateCost(jobs_[job]);
  if (!budget_.Acquire(job, cost.Working)) {
    return result;
  }
  try {
    result.Icon = std::make_unique<TPicIcon>();
    SetUpIcon(*result.Icon, jobs_[job]);
    result.Icon->LoadFromFile(jobs_[job].FileName);
    // Only the scaled bitmap is written later: letting the picture and its
    // full-size copy go now keeps waiting results small.
    result.Icon->Picture.Clear();
    result.Icon->SourceBitmap = TBitmap();
  } catch (...) {
    result.Error = std::current_exception();
  }
  budget_.Release(cost.Working - cost.Result);
  result.Bytes = cost.Result;
  result.Done = true;
  return result;
}

// A job passed over: its waiting result goes, and it will never be served.
void TRenderAhead::Drop(std::size_t job) {
  budget_.Release(slots_[job].Bytes);
  slots_[job] = TSlot();
  budget_.Forfeit(job);
}

std::unique_ptr<TPicIcon> TRenderAhead::Take(int job) {
  const auto index = std::size_t(job);
  std::unique_lock lock(mutex_);
  for (std::size_t dropped = taken_; dropped < index; ++dropped) {
    Drop(dropped);
  }
  taken_ = index;
  next_ = std::max(next_, index);
  workReady_.notify_all();
  resultReady_.wait(lock, [&] { return slots_[index].Done; });
  TSlot result = std::move(slots_[index]);
  slots_[index] = TSlot();
  taken_ = index + 1;
  workReady_.notify_all();
  lock.unlock();
  // The publisher holds the result from now on, one at a time.
  budget_.Release(result.Bytes);
  if (result.Error) {
    std::rethrow_exception(result.Error);
  }
  return std::move(result.Icon);
}

}  // namespace tessalune

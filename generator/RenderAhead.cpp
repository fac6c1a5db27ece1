// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderAhead.h"

#include <algorithm>

#include "PicIcon.h"

namespace tessalune {

void SetUpIcon(TPicIcon& icon, const TRenderJob& job) {
  icon.Fast = false;
  icon.MaxWidth = job.MaxWidth;
  icon.MaxHeight = job.MaxHeight;
  icon.Quality = job.Quality;
}

unsigned TRenderAhead::ThreadCount() {
  return std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
}

TRenderAhead::TRenderAhead(std::vector<TRenderJob> jobs)
    : jobs_(std::move(jobs)), slots_(jobs_.size()) {
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
    TSlot result;
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
    result.Done = true;
    lock.lock();
    if (job >= taken_) {
      slots_[job] = std::move(result);
    }
    resultReady_.notify_all();
  }
}

std::unique_ptr<TPicIcon> TRenderAhead::Take(int job) {
  const auto index = std::size_t(job);
  std::unique_lock lock(mutex_);
  for (std::size_t dropped = taken_; dropped < index; ++dropped) {
    slots_[dropped] = TSlot();
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
  if (result.Error) {
    std::rethrow_exception(result.Error);
  }
  return std::move(result.Icon);
}

}  // namespace tessalune

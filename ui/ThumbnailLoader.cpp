// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailLoader.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include <QElapsedTimer>
#include <QMetaObject>

#include "ErrorDisplay.h"

namespace tessalune {
namespace {

// How long one delivery may keep the interface thread before it lets other
// events (painting, input) run.
constexpr qint64 kDeliveryBudgetMs = 4;

}  // namespace

TThumbnailLoader::TThumbnailLoader(unsigned threads, QObject* parent) : QObject(parent) {
  const unsigned count = threads != 0 ? threads : std::clamp(std::thread::hardware_concurrency(), 1u, 64u);
  // Each worker may finish a picture and start the next while the interface
  // is busy: twice the workers keeps them all going, and no more piles up.
  maxWaiting_ = 2 * std::size_t(count);
  running_.resize(count);
  try {
    for (std::size_t slot = 0; slot < count; ++slot) workers_.emplace_back([this, slot] { Work(slot); });
  } catch (...) {
    Stop();
    throw;
  }
}

TThumbnailLoader::~TThumbnailLoader() { Stop(); }

void TThumbnailLoader::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    queue_.clear();
  }
  workReady_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
}

void TThumbnailLoader::Work(std::size_t slot) {
  std::unique_lock lock(mutex_);
  for (;;) {
    workReady_.wait(lock, [this] { return stop_ || (!queue_.empty() && results_.size() + busy_ < maxWaiting_); });
    if (stop_) return;
    TRunning& running = running_[slot];
    running.Request = std::move(queue_.front());
    queue_.pop_front();
    running.Busy = true;
    running.Cancelled = false;
    ++busy_;
    ++loads_;
    lock.unlock();
    // Only this worker writes its request; others read it under the lock.
    TThumbnail thumbnail;
    bool made = true;
    try {
      thumbnail = MakeFastThumbnail(running.Request);
    } catch (...) {
      made = false;  // out of memory: the picture is asked for again later
    }
    lock.lock();
    --busy_;
    running.Busy = false;
    if (made && !running.Cancelled && !stop_) {
      results_.push_back({std::move(running.Request), std::move(thumbnail)});
      PostDelivery();
    } else {
      workReady_.notify_one();
    }
  }
}

// Called with the lock held.
void TThumbnailLoader::PostDelivery() {
  if (deliveryPosted_) return;
  deliveryPosted_ = true;
  QMetaObject::invokeMethod(this, &TThumbnailLoader::Deliver, Qt::QueuedConnection);
}

void TThumbnailLoader::Deliver() {
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    TResult result;
    {
      std::lock_guard lock(mutex_);
      if (results_.empty()) {
        deliveryPosted_ = false;
        return;
      }
      if (clock.elapsed() >= kDeliveryBudgetMs) {
        QMetaObject::invokeMethod(this, &TThumbnailLoader::Deliver, Qt::QueuedConnection);
        return;
      }
      result = std::move(results_.front());
      results_.pop_front();
    }
    workReady_.notify_one();
    if (OnThumbnail) Guarded([&] { OnThumbnail(result.Request, std::move(result.Thumbnail)); });
  }
}

std::size_t TThumbnailLoader::Waiting() {
  std::lock_guard lock(mutex_);
  return results_.size();
}

bool TThumbnailLoader::Outstanding(const TThumbnailRequest& request) const {
  return std::any_of(running_.begin(), running_.end(),
                     [&](const TRunning& r) { return r.Busy && !r.Cancelled && r.Request == request; }) ||
         std::any_of(results_.begin(), results_.end(), [&](const TResult& r) { return r.Request == request; });
}

void TThumbnailLoader::SetQueue(std::vector<TThumbnailRequest> ranked) {
  std::unordered_map<std::uint64_t, const TThumbnailRequest*> wanted;
  for (const TThumbnailRequest& request : ranked) wanted.emplace(request.Id, &request);
  {
    std::lock_guard lock(mutex_);
    CancelWhere([&](const TThumbnailRequest& request) {
      const auto found = wanted.find(request.Id);
      return found != wanted.end() && !(*found->second == request);
    });
    queue_.clear();
    for (TThumbnailRequest& request : ranked) {
      if (!Outstanding(request)) queue_.push_back(std::move(request));
    }
  }
  workReady_.notify_all();
}

void TThumbnailLoader::Cancel(std::uint64_t Id) {
  {
    std::lock_guard lock(mutex_);
    CancelWhere([Id](const TThumbnailRequest& request) { return request.Id == Id; });
  }
  workReady_.notify_all();
}

void TThumbnailLoader::CancelAll() {
  {
    std::lock_guard lock(mutex_);
    CancelWhere([](const TThumbnailRequest&) { return true; });
  }
  workReady_.notify_all();
}

// Called with the lock held.
void TThumbnailLoader::CancelWhere(const std::function<bool(const TThumbnailRequest&)>& stale) {
  std::erase_if(queue_, stale);
  for (TRunning& running : running_) {
    if (running.Busy && stale(running.Request)) running.Cancelled = true;
  }
  std::erase_if(results_, [&](const TResult& result) { return stale(result.Request); });
}

}  // namespace tessalune

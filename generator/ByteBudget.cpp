// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteBudget.h"

#include <algorithm>

namespace tessalune {

void TByteBudget::PassTurns() {
  while (!forfeited_.empty() && *forfeited_.begin() == turn_) {
    forfeited_.erase(forfeited_.begin());
    ++turn_;
  }
  changed_.notify_all();
}

void TByteBudget::Grant(std::int64_t bytes) {
  held_ += bytes;
  peak_ = std::max(peak_, held_);
  ++turn_;
  PassTurns();
}

bool TByteBudget::TryAcquire(std::size_t ticket, std::int64_t bytes) {
  std::lock_guard lock(mutex_);
  if (closed_ || ticket != turn_ || !Fits(bytes)) return false;
  Grant(bytes);
  return true;
}

bool TByteBudget::Acquire(std::size_t ticket, std::int64_t bytes) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] {
    return closed_ || ticket < turn_ || forfeited_.count(ticket) != 0 || (ticket == turn_ && Fits(bytes));
  });
  if (closed_ || ticket != turn_) return false;
  Grant(bytes);
  return true;
}

void TByteBudget::Forfeit(std::size_t ticket) {
  std::lock_guard lock(mutex_);
  if (ticket < turn_) return;
  forfeited_.insert(ticket);
  PassTurns();
}

void TByteBudget::Release(std::int64_t bytes) {
  std::lock_guard lock(mutex_);
  held_ -= bytes;
  changed_.notify_all();
}

void TByteBudget::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  changed_.notify_all();
}

std::int64_t TByteBudget::Peak() const {
  std::lock_guard lock(mutex_);
  return peak_;
}

}  // namespace tessalune

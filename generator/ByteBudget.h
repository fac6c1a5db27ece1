// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <set>

namespace tessalune {

// A bound on the memory that work done ahead holds at once, in bytes. Every
// request carries a ticket, and tickets are served in rising order from 0:
// each is either granted or forfeited before the next one's turn, so a large
// request is never overtaken by smaller later ones. A request larger than
// the whole bound is granted once nothing else is held, so that it still
// runs, alone.
class TByteBudget {
public:
  // A limit below 0 counts as 0: every request then runs alone.
  explicit TByteBudget(std::int64_t limit) : limit_(std::max<std::int64_t>(limit, 0)) {}

  // Grants the bytes when it is the ticket's turn and they fit; false, and
  // nothing held, otherwise.
  bool TryAcquire(std::size_t ticket, std::int64_t bytes);
  // Waits for TryAcquire to succeed; false when the ticket was forfeited or
  // the budget closed meanwhile.
  bool Acquire(std::size_t ticket, std::int64_t bytes);
  // The ticket will not be served: its turn passes, and a wait for it ends.
  // A ticket already granted is not affected.
  void Forfeit(std::size_t ticket);
  // Gives granted bytes back.
  void Release(std::int64_t bytes);
  // Ends every wait, now and later.
  void Close();

  std::int64_t Limit() const { return limit_; }
  // The most bytes held at any one time so far.
  std::int64_t Peak() const;

private:
  // Written so that no request, however large, overflows the sum.
  bool Fits(std::int64_t bytes) const { return held_ == 0 || bytes <= limit_ - held_; }
  // Holds the bytes for the ticket whose turn it is.
  void Grant(std::int64_t bytes);
  // Moves the turn past the forfeited tickets and wakes the waiters.
  void PassTurns();

  const std::int64_t limit_;
  std::int64_t held_ = 0;
  std::int64_t peak_ = 0;
  std::size_t turn_ = 0;  // the ticket to be served next
  std::set<std::size_t> forfeited_;  // tickets from turn_ on that will not ask
  bool closed_ = false;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
};

}  // namespace tessalune

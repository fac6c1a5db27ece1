// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <QObject>

#include "ThumbnailJob.h"

namespace tessalune {

// Makes screen thumbnails (MakeFastThumbnail) on worker threads, one per
// core, and hands each result to OnThumbnail on the thread the loader lives
// on (the user-interface thread), which turns it into a pixmap.
//
// The requester does not append to a queue: it hands over the whole ranked
// list of what it wants now, most wanted first, and that list replaces the
// previous one, so work for pictures that scrolled away is never started.
// A picture being made when it leaves the list is finished; its result still
// arrives unless the picture was cancelled. Results wait for the
// user-interface thread in a bounded queue: when it is full the workers wait,
// so a busy interface never piles up thumbnails in memory. Results are
// delivered a few milliseconds' worth at a time, so the interface stays
// responsive however many arrive at once.
class TThumbnailLoader : public QObject {
public:
  // threads 0: one per core.
  explicit TThumbnailLoader(unsigned threads = 0, QObject* parent = nullptr);
  // Stops the workers after the picture each is making; nothing more is delivered.
  ~TThumbnailLoader() override;
  TThumbnailLoader(const TThumbnailLoader&) = delete;
  TThumbnailLoader& operator=(const TThumbnailLoader&) = delete;

  // Replaces the waiting requests with ranked, in that order. A request equal
  // to one being made or made and not yet delivered is not made again; one
  // that supersedes a request of the same Id (any field differs) cancels it.
  void SetQueue(std::vector<TThumbnailRequest> ranked);
  // Forgets every request of the picture Id: waiting ones are dropped, and the
  // result of one being made or not yet delivered never arrives.
  void Cancel(std::uint64_t Id);
  // Cancel for every picture.
  void CancelAll();

  // Receives every result that was not cancelled, with its request.
  std::function<void(const TThumbnailRequest& request, TThumbnail thumbnail)> OnThumbnail;

  // The results made and not yet delivered.
  std::size_t Waiting();
  // How many times a worker has started to load a picture file.
  int Loads() const { return loads_; }

private:
  struct TResult {
    TThumbnailRequest Request;
    TThumbnail Thumbnail;
  };
  // What worker i is making, if anything.
  struct TRunning {
    TThumbnailRequest Request;
    bool Busy = false;
    bool Cancelled = false;
  };

  void Stop();
  void Work(std::size_t slot);
  bool Outstanding(const TThumbnailRequest& request) const;
  void CancelWhere(const std::function<bool(const TThumbnailRequest&)>& stale);
  void Deliver();
  void PostDelivery();

  std::size_t maxWaiting_;
  std::mutex mutex_;
  std::condition_variable workReady_;
  std::deque<TThumbnailRequest> queue_;
  std::vector<TRunning> running_;
  std::deque<TResult> results_;
  std::size_t busy_ = 0;  // workers making a picture
  std::atomic<int> loads_ = 0;
  bool deliveryPosted_ = false;
  bool stop_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace tessalune

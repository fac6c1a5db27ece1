// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ByteBudget.h"

namespace tessalune {

class TPicIcon;

// The thumbnail maker's settings for one file the publisher writes.
struct TRenderSize {
  int MaxWidth = 0;
  int MaxHeight = 0;
  int Quality = 0;
};

// One picture to load: the settings of its thumbnail, of its converted
// picture, or of both.
struct TRenderJob {
  std::string FileName;
  std::optional<TRenderSize> Thumbnail;
  std::optional<TRenderSize> Image;
};

// A file the publisher writes: the JPEG stream, and whether it shows the
// error mark because the picture could not be read or scaled.
struct TRenderedFile {
  std::string Bytes;
  bool ErrorMark = false;
};

// Gives a thumbnail maker the settings of a size, in publishing quality.
void SetUpIcon(TPicIcon& icon, const TRenderSize& size);

// Loads, scales and encodes pictures on worker threads ahead of the
// publisher, which takes the JPEG streams in the order of its steps (every
// thumbnail in rising job order, then every converted picture in rising job
// order) and writes them itself. The threads change only how soon a stream
// is ready, never which files are written, their bytes or their order.
//
// Each worker keeps one thumbnail maker, and so its pixel buffers, from one
// picture to the next, and works on one picture at a time on as many threads
// as idle workers leave it. A picture that needs both a thumbnail and a
// converted picture is read and decoded once: its converted picture is made
// from the same decode and parked until the publisher asks for it, unless
// the parked pictures would take more than a quarter of the budget; it is
// then made again in its turn.
//
// The memory that the pictures being loaded, the streams waiting for the
// publisher and the parked pictures take, estimated from the pictures'
// sizes, stays within a budget of bytes; a picture larger than the rest of
// the budget is loaded alone. At most a few thumbnails wait at any time. A
// stream passed over is dropped, and destroying the object stops the workers
// after their current picture.
class TRenderAhead {
public:
  TRenderAhead(std::vector<TRenderJob> jobs, unsigned threads = ThreadCount(),
               std::int64_t budgetBytes = DefaultBudget());
  ~TRenderAhead();
  TRenderAhead(const TRenderAhead&) = delete;
  TRenderAhead& operator=(const TRenderAhead&) = delete;

  // The stream TPicIcon::SaveToFile would write for the job's thumbnail,
  // or what it would raise. Every stream of an earlier turn not taken is
  // dropped. The job must have a thumbnail, and no picture may have been
  // taken yet.
  TRenderedFile TakeThumbnail(int job);
  // The same for the job's converted picture; no thumbnail can be taken
  // afterwards.
  TRenderedFile TakeImage(int job);

  // One worker per core, at most 16.
  static unsigned ThreadCount();
  // A quarter of the machine's memory.
  static std::int64_t DefaultBudget();
  // The most bytes, by the estimate, that loading ahead held at one time.
  std::int64_t PeakBytes() const;
  // How many times a picture file has been loaded.
  int Loads() const { return loads_; }

private:
  enum class TPart { Thumbnail, Image };
  // Whether a picture's thumbnail turn also makes its converted picture.
  enum class TPlan { Undecided, Parked, Later };

  // A turn: the thumbnail turns of the jobs come first, then their picture
  // turns. A turn is also the ticket of its bytes in the budget.
  struct TTurn {
    std::size_t Job;
    TPart Part;
  };
  struct TStream {
    TRenderedFile File;
    std::exception_ptr Error;
  };
  struct TSlot {
    TStream Thumbnail;
    TStream Image;
    std::int64_t Bytes = 0;        // the turn's own stream, held in the budget
    std::int64_t ParkedBytes = 0;  // a parked picture, held beside the budget
    bool Done = false;
  };

  void Work();
  bool Runnable() const;
  unsigned ThreadsFor(std::size_t turn) const;
  TSlot Run(std::size_t turn, TPicIcon& icon, unsigned threads);
  void Render(const TTurn& turn, bool withImage, TPicIcon& icon, TSlot& result);
  bool Park(std::size_t job, std::int64_t bytes);
  void Unpark(std::int64_t bytes);
  TPlan AwaitPlan(std::size_t job);
  void Store(std::size_t turn, TSlot result);
  void PassOver(std::size_t turn);
  void Drop(std::size_t turn);
  // Gives back what a slot holds (under the lock): its own stream and the
  // budget it took, or the picture parked in it.
  void ReleaseOwn(TSlot& slot);
  void ReleaseParked(TSlot& slot);
  TRenderedFile Deliver(TStream stream);

  std::vector<TRenderJob> jobs_;
  std::vector<TTurn> turns_;
  std::size_t firstImageTurn_ = 0;
  std::vector<std::size_t> thumbnailTurn_;  // per job; turns_.size() when none
  std::vector<std::size_t> imageTurn_;
  std::vector<TPlan> plans_;  // per job
  std::vector<TSlot> slots_;  // per turn
  TByteBudget budget_;
  const std::int64_t parkLimit_;
  std::int64_t parked_ = 0;
  std::int64_t parkedPeak_ = 0;
  std::size_t next_ = 0;   // the next turn a worker starts
  std::size_t taken_ = 0;  // turns before this one are taken or dropped
  std::size_t window_ = 0;
  unsigned workerCount_ = 0;
  unsigned busy_ = 0;
  std::atomic<int> loads_{0};
  bool stop_ = false;
  mutable std::mutex mutex_;
  std::condition_variable workReady_;
  std::condition_variable resultReady_;
  std::condition_variable planned_;
  std::vector<std::thread> workers_;
};

}  // namespace tessalune

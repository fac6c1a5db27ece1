// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderAhead.h"

#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "PicIcon.h"

namespace tessalune {
namespace {

// Bytes per pixel that loading and scaling a picture holds at most: its
// decoded copy, the container's own image or a turned copy, and the
// resampler's intermediate rows.
constexpr std::int64_t kWorkingBytesPerPixel = 8;

// The bitmap of a picture of that many pixels scaled to a size: JPEG streams
// of it are smaller still. Never more than the picture's own bitmap, so that
// no estimate exceeds a few times MaxPicturePixels().
std::int64_t ScaledBytes(std::int64_t pixels, const TRenderSize& size) {
  return 3 * std::clamp(std::int64_t{size.MaxWidth} * size.MaxHeight, std::int64_t{0}, pixels);
}

}  // namespace

void SetUpIcon(TPicIcon& icon, const TRenderSize& size) {
  icon.Fast = false;
  icon.MaxWidth = size.MaxWidth;
  icon.MaxHeight = size.MaxHeight;
  icon.Quality = size.Quality;
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

TRenderAhead::TRenderAhead(std::vector<TRenderJob> jobs, unsigned threads, std::int64_t budgetBytes)
    : jobs_(std::move(jobs)),
      thumbnailTurn_(jobs_.size()),
      imageTurn_(jobs_.size()),
      plans_(jobs_.size(), TPlan::Later),
      budget_(budgetBytes - budgetBytes / 4),
      parkLimit_(budgetBytes / 4) {
  for (std::size_t job = 0; job < jobs_.size(); ++job) {
    if (jobs_[job].Thumbnail) turns_.push_back({job, TPart::Thumbnail});
    if (jobs_[job].Thumbnail && jobs_[job].Image) plans_[job] = TPlan::Undecided;
  }
  firstImageTurn_ = turns_.size();
  for (std::size_t job = 0; job < jobs_.size(); ++job) {
    if (jobs_[job].Image) turns_.push_back({job, TPart::Image});
  }
  std::fill(thumbnailTurn_.begin(), thumbnailTurn_.end(), turns_.size());
  std::fill(imageTurn_.begin(), imageTurn_.end(), turns_.size());
  for (std::size_t turn = 0; turn < turns_.size(); ++turn) {
    (turns_[turn].Part == TPart::Thumbnail ? thumbnailTurn_ : imageTurn_)[turns_[turn].Job] = turn;
  }
  slots_.resize(turns_.size());
  workerCount_ = unsigned(std::min<std::size_t>(std::max(threads, 1u), turns_.size()));
  // Enough waiting streams that workers finishing together go on with the
  // next pictures while the publisher writes.
  window_ = 2 * workerCount_ + 2;
  for (unsigned i = 0; i < workerCount_; ++i) {
    workers_.emplace_back([this] { Work(); });
  }
}

TRenderAhead::~TRenderAhead() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  workReady_.notify_all();
  planned_.notify_all();
  budget_.Close();
  for (std::thread& worker : workers_) {
    worker.join();
  }
}

std::int64_t TRenderAhead::PeakBytes() const {
  std::lock_guard lock(mutex_);
  return budget_.Peak() + parkedPeak_;
}

bool TRenderAhead::Runnable() const {
  return stop_ || next_ >= turns_.size() || next_ < taken_ + window_;
}

void TRenderAhead::Work() {
  TPicIcon icon;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!Runnable()) {
      // The buffers a worker keeps for its next picture are counted in the
      // budget only while it loads one, so they go before any wait.
      lock.unlock();
      icon.ReleaseBuffers();
      lock.lock();
    }
    workReady_.wait(lock, [this] { return Runnable(); });
    if (stop_ || next_ >= turns_.size()) {
      return;
    }
    const std::size_t turn = next_++;
    const unsigned threads = ThreadsFor(turn);
    ++busy_;
    lock.unlock();
    TSlot result = Run(turn, icon, threads);
    lock.lock();
    --busy_;
    Store(turn, std::move(result));
    resultReady_.notify_all();
  }
}

// The idle workers' share of the turns left in this step: one thread each
// while there are more turns than workers, more for the last few.
unsigned TRenderAhead::ThreadsFor(std::size_t turn) const {
  const std::size_t stepEnd = turn < firstImageTurn_ ? firstImageTurn_ : turns_.size();
  const std::size_t idle = workerCount_ - busy_;
  return unsigned(std::max<std::size_t>(1, idle / (stepEnd - turn)));
}

// Loads the turn's picture once the budget has room for it. The slot is not
// Done when the turn was dropped or the work stopped meanwhile.
TRenderAhead::TSlot TRenderAhead::Run(std::size_t turn, TPicIcon& icon, unsigned threads) {
  const TTurn& t = turns_[turn];
  const TRenderJob& job = jobs_[t.Job];
  TSlot result;
  if (t.Part == TPart::Image && AwaitPlan(t.Job) == TPlan::Parked) {
    budget_.Forfeit(turn);  // made in the thumbnail's turn
    result.Done = true;
    return result;
  }
  // At most MaxPicturePixels(), whatever a header claims, so the sums below
  // stay far from overflowing.
  const std::int64_t pixels = DeclaredPixels(job.FileName);
  const std::int64_t image = job.Image ? ScaledBytes(pixels, *job.Image) : 0;
  const bool withImage = t.Part == TPart::Image || (job.Image && Park(t.Job, image));
  const std::int64_t working = kWorkingBytesPerPixel * pixels +
                               (t.Part == TPart::Thumbnail ? ScaledBytes(pixels, *job.Thumbnail) : 0) +
                               (withImage ? image : 0);
  if (!budget_.TryAcquire(turn, working)) {
    icon.ReleaseBuffers();
    if (!budget_.Acquire(turn, working)) return result;
  }
  icon.Threads = threads;
  Render(t, withImage, icon, result);
  const TStream& own = t.Part == TPart::Thumbnail ? result.Thumbnail : result.Image;
  // Streams are far smaller than the bitmaps the estimate counts.
  result.Bytes = std::min(std::int64_t(own.File.Bytes.size()), working);
  budget_.Release(working - result.Bytes);
  if (t.Part == TPart::Thumbnail && withImage) {
    result.ParkedBytes = std::min(std::int64_t(result.Image.File.Bytes.size()), image);
    Unpark(image - result.ParkedBytes);
  }
  result.Done = true;
  return result;
}

void TRenderAhead::Render(const TTurn& turn, bool withImage, TPicIcon& icon, TSlot& result) {
  const TRenderJob& job = jobs_[turn.Job];
  // The files of the turn, each with its settings and its stream.
  std::vector<std::pair<const TRenderSize*, TStream*>> files;
  if (turn.Part == TPart::Thumbnail) files.emplace_back(&*job.Thumbnail, &result.Thumbnail);
  if (withImage) files.emplace_back(&*job.Image, &result.Image);
  try {
    std::vector<QSize> maxima;
    for (const auto& [size, stream] : files) maxima.emplace_back(size->MaxWidth, size->MaxHeight);
    icon.Fast = false;
    const std::vector<TIconBitmap> made = icon.LoadFromFile(job.FileName, maxima);
    ++loads_;
    for (std::size_t i = 0; i < files.size(); ++i) {
      icon.Bitmap = made[i].Bitmap;
      icon.Quality = files[i].first->Quality;
      files[i].second->File.ErrorMark = made[i].ErrorMark;
      try {
        files[i].second->File.Bytes = icon.SaveToStream();
      } catch (...) {
        files[i].second->Error = std::current_exception();
      }
    }
  } catch (...) {
    for (const auto& [size, stream] : files) stream->Error = std::current_exception();
  }
}

// Decides, in the thumbnail's turn, whether the picture is made from the
// same decode; the parked pictures stay within a quarter of the budget.
bool TRenderAhead::Park(std::size_t job, std::int64_t bytes) {
  std::lock_guard lock(mutex_);
  if (plans_[job] == TPlan::Undecided) {
    const bool fits = parked_ + bytes <= parkLimit_;
    plans_[job] = fits ? TPlan::Parked : TPlan::Later;
    if (fits) {
      parked_ += bytes;
      parkedPeak_ = std::max(parkedPeak_, parked_);
    }
    planned_.notify_all();
  }
  return plans_[job] == TPlan::Parked;
}

void TRenderAhead::Unpark(std::int64_t bytes) {
  std::lock_guard lock(mutex_);
  parked_ -= bytes;
}

// Thumbnail turns come first, so the worker that decides has started
// already, or the turn was passed over.
TRenderAhead::TPlan TRenderAhead::AwaitPlan(std::size_t job) {
  std::unique_lock lock(mutex_);
  planned_.wait(lock, [&] { return stop_ || plans_[job] != TPlan::Undecided; });
  return plans_[job];
}

// Keeps a finished turn's streams for the publisher, but only those it will
// still ask for.
void TRenderAhead::Store(std::size_t turn, TSlot result) {
  if (!result.Done) return;
  const TTurn& t = turns_[turn];
  if (turn < taken_) {
    ReleaseOwn(result);
    if (t.Part == TPart::Image) result.Image = {};
  }
  if (result.ParkedBytes > 0 && imageTurn_[t.Job] < taken_) ReleaseParked(result);
  slots_[turn] = std::move(result);
}

// Moves the publisher's turn on to turn: the turns before it are dropped.
void TRenderAhead::PassOver(std::size_t turn) {
  for (std::size_t passed = taken_; passed < turn; ++passed) {
    Drop(passed);
  }
  taken_ = std::max(taken_, turn);
  next_ = std::max(next_, turn);
  workReady_.notify_all();
}

// A turn passed over: its waiting stream goes, and it will never be served,
// except a thumbnail's turn that also makes a picture still to come.
void TRenderAhead::Drop(std::size_t turn) {
  const TTurn& t = turns_[turn];
  TSlot& slot = slots_[turn];
  ReleaseOwn(slot);
  if (t.Part == TPart::Thumbnail) {
    if (plans_[t.Job] == TPlan::Undecided) {
      plans_[t.Job] = TPlan::Later;
      planned_.notify_all();
    }
    if (plans_[t.Job] == TPlan::Parked) return;
  } else if (plans_[t.Job] == TPlan::Parked) {
    ReleaseParked(slots_[thumbnailTurn_[t.Job]]);
  }
  slot.Image = {};
  budget_.Forfeit(turn);
}

TRenderedFile TRenderAhead::TakeThumbnail(int job) {
  const std::size_t turn = thumbnailTurn_.at(std::size_t(job));
  if (turn >= firstImageTurn_) throw std::logic_error("no thumbnail to take");
  std::unique_lock lock(mutex_);
  PassOver(turn);
  resultReady_.wait(lock, [&] { return slots_[turn].Done; });
  TSlot& slot = slots_[turn];
  TStream stream = std::move(slot.Thumbnail);
  ReleaseOwn(slot);
  taken_ = turn + 1;
  workReady_.notify_all();
  lock.unlock();
  return Deliver(std::move(stream));
}

TRenderedFile TRenderAhead::TakeImage(int job) {
  const std::size_t turn = imageTurn_.at(std::size_t(job));
  if (turn >= turns_.size()) throw std::logic_error("no picture to take");
  std::unique_lock lock(mutex_);
  PassOver(turn);
  const bool parked = plans_[std::size_t(job)] == TPlan::Parked;
  const std::size_t from = parked ? thumbnailTurn_[std::size_t(job)] : turn;
  resultReady_.wait(lock, [&] { return slots_[from].Done; });
  TSlot& slot = slots_[from];
  TStream stream = std::move(slot.Image);
  if (parked) {
    ReleaseParked(slot);
  } else {
    ReleaseOwn(slot);
  }
  if (next_ == turn) {
    // A parked picture's own turn, not started: it never will be.
    budget_.Forfeit(turn);
    next_ = turn + 1;
  }
  taken_ = turn + 1;
  workReady_.notify_all();
  lock.unlock();
  return Deliver(std::move(stream));
}

void TRenderAhead::ReleaseOwn(TSlot& slot) {
  budget_.Release(slot.Bytes);
  slot.Bytes = 0;
  slot.Thumbnail = {};
}

void TRenderAhead::ReleaseParked(TSlot& slot) {
  parked_ -= slot.ParkedBytes;
  slot.ParkedBytes = 0;
  slot.Image = {};
}

TRenderedFile TRenderAhead::Deliver(TStream stream) {
  if (stream.Error) std::rethrow_exception(stream.Error);
  return std::move(stream.File);
}

}  // namespace tessalune

#include "player/slide_loader.h"

#include <algorithm>
#include <exception>

#include "player/start_up.h"

namespace pivolane::player {

SlideLoader::SlideLoader(format::ShowFile& show, std::function<void()> wake)
    : show_(show), wake_(std::move(wake)), thread_([this] { Run(); }) {}

SlideLoader::~SlideLoader() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    calledOff_ = true;
  }
  queued_.notify_one();
  thread_.join();
}

bool SlideLoader::IsReady(const Job& job) const {
  return std::any_of(ready_.begin(), ready_.end(),
                     [&](const Slide& slide) { return JobOf(slide) == job; });
}

std::list<SlideLoader::Slide>::iterator SlideLoader::ReadyFor(const Job& wanted) {
  // The slide fitted for this very frame first.
  const auto exact = std::find_if(ready_.begin(), ready_.end(),
                                  [&](const Slide& slide) { return JobOf(slide) == wanted; });
  if (exact != ready_.end()) return exact;
  return std::find_if(ready_.begin(), ready_.end(),
                      [&](const Slide& slide) { return Serves(JobOf(slide), wanted); });
}

void SlideLoader::Want(int slideNumber, playback::Size frame) {
  const Job job{slideNumber, frame};
  {
    const std::lock_guard lock(mutex_);
    if (ReadyFor(job) != ready_.end() || RunningFor(job)) return;
    // One still waiting for the thread serves as well.
    const auto waiting = std::find_if(queue_.begin(), queue_.end(),
                                      [&](const Job& next) { return Serves(next, job); });
    const Job next = waiting != queue_.end() ? *waiting : job;
    if (running_) calledOff_ = true;
    queue_.assign(1, next);
  }
  queued_.notify_one();
}

bool SlideLoader::Take(int slideNumber, playback::Size frame, Slide& slide) {
  const std::lock_guard lock(mutex_);
  const auto found = ReadyFor({slideNumber, frame});
  if (found == ready_.end()) return false;
  slide = std::move(*found);
  ready_.erase(found);
  return true;
}

void SlideLoader::Keep(Slide slide) {
  const std::lock_guard lock(mutex_);
  if (!IsReady(JobOf(slide))) ready_.push_back(std::move(slide));
}

void SlideLoader::Prepare(const std::vector<int>& slideNumbers, playback::Size frame) {
  std::vector<Job> wanted;
  for (const int number : slideNumbers) wanted.push_back({number, frame});
  const auto isWanted = [&](const Job& job) {
    return std::find(wanted.begin(), wanted.end(), job) != wanted.end();
  };
  {
    const std::lock_guard lock(mutex_);
    std::erase_if(ready_, [&](const Slide& slide) { return !isWanted(JobOf(slide)); });
    if (running_ && !isWanted(*running_)) calledOff_ = true;
    queue_.clear();
    for (const Job& job : wanted) {
      if (!IsReady(job) && !IsRunning(job)) queue_.push_back(job);
    }
  }
  queued_.notify_one();
}

void SlideLoader::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const Job job = queue_.front();
    queue_.pop_front();
    running_ = job;
    calledOff_ = false;
    lock.unlock();
    Slide slide = Load(job);
    lock.lock();
    running_.reset();
    if (calledOff_ || stopping_) continue;  // dropped here, off the window's thread
    ready_.push_back(std::move(slide));
    lock.unlock();
    wake_();
    lock.lock();
  }
}

SlideLoader::Slide SlideLoader::Load(const Job& job) {
  Slide slide{job.slideNumber, job.frame, {}, std::nullopt};
  // The two seconds a slide may take count from here, reading included.
  const picture::DecodeBudget budget = picture::DecodeBudget::FromNow(&calledOff_);
  try {
    SlideData data = ExtractSlide(show_, job.slideNumber);
    slide.entry = data.entry;
    slide.picture = picture::DecodeFitted(data.picture, job.frame, budget);
  } catch (const std::exception&) {
    slide.picture.reset();  // unreadable or out of memory: shown as a bad picture
  }
  return slide;
}

}  // namespace pivolane::player

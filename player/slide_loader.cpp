#include "player/slide_loader.h"

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
  wanted_changed_.notify_one();
  thread_.join();
}

void SlideLoader::Want(int slideNumber, playback::Size frame) {
  const Job job{slideNumber, frame};
  {
    const std::lock_guard lock(mutex_);
    if (ready_ && Holds(*ready_, job)) return;
    ready_.reset();
    if (running_ && *running_ == job && !calledOff_) {
      wanted_.reset();
      return;
    }
    if (running_) calledOff_ = true;
    wanted_ = job;
  }
  wanted_changed_.notify_one();
}

std::optional<SlideLoader::Slide> SlideLoader::Take(int slideNumber, playback::Size frame) {
  const std::lock_guard lock(mutex_);
  if (!ready_ || !Holds(*ready_, Job{slideNumber, frame})) return std::nullopt;
  std::optional<Slide> slide = std::move(ready_);
  ready_.reset();
  return slide;
}

void SlideLoader::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wanted_changed_.wait(lock, [this] { return stopping_ || wanted_.has_value(); });
    if (stopping_) return;
    const Job job = *wanted_;
    wanted_.reset();
    running_ = job;
    calledOff_ = false;
    lock.unlock();
    Slide slide = Load(job);
    lock.lock();
    running_.reset();
    if (calledOff_ || stopping_) continue;  // dropped here, off the window's thread
    ready_ = std::move(slide);
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

// Slides read, deciphered, decoded and fitted on a thread of their own, one
// at a time, so that the window's thread stays free for the user: the slide
// the window asks for now, and meanwhile the ones it may ask for next (the
// next position, and the previous one). Memory holds the slide on screen,
// those two, and one decoder's working memory.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "common/format/records.h"
#include "common/format/show_file.h"
#include "common/picture/slide_picture.h"
#include "common/playback/fit_geometry.h"

namespace pivolane::player {

class SlideLoader {
 public:
  struct Slide {
    int slideNumber = 0;
    playback::Size frame;
    format::SlideEntry entry;
    std::optional<picture::FittedPicture> picture;  // nullopt: it cannot be shown
  };

  // show is read on the loader's thread only from now on. wake is called on
  // that thread whenever a slide has become ready.
  SlideLoader(format::ShowFile& show, std::function<void()> wake);
  // Calls off the slide under way and waits for the thread to end.
  ~SlideLoader();
  SlideLoader(const SlideLoader&) = delete;
  SlideLoader& operator=(const SlideLoader&) = delete;

  // Slide slideNumber fitted into frame is wanted now: kept when it is ready
  // or under way, else loaded before anything else, calling off any other
  // slide under way. Fitted into a frame at least as large will do: the
  // window fits it again, which costs far less than decoding it anew (the
  // first slide is loaded for the whole screen, before the window manager
  // has taken its title bar off the window).
  void Want(int slideNumber, playback::Size frame);
  // That slide, handed over into slide once it is ready; false until then.
  bool Take(int slideNumber, playback::Size frame, Slide& slide);
  // A slide the window stops showing, held in case Prepare asks for it.
  void Keep(Slide slide);
  // The slides to hold ready while one is on screen, in order of need: those
  // not ready are loaded in turn, and every other slide held or under way is
  // let go.
  void Prepare(const std::vector<int>& slideNumbers, playback::Size frame);

 private:
  struct Job {
    int slideNumber = 0;
    playback::Size frame;
    bool operator==(const Job& other) const {
      return slideNumber == other.slideNumber && frame.width == other.frame.width &&
             frame.height == other.frame.height;
    }
  };
  static Job JobOf(const Slide& slide) { return {slide.slideNumber, slide.frame}; }
  // Whether a slide loaded for job also serves wanted: the same slide, for a
  // frame that holds wanted's.
  static bool Serves(const Job& job, const Job& wanted) {
    return job.slideNumber == wanted.slideNumber && job.frame.width >= wanted.frame.width &&
           job.frame.height >= wanted.frame.height;
  }
  bool IsReady(const Job& job) const;
  bool IsRunning(const Job& job) const { return running_ && *running_ == job && !calledOff_; }
  // A slide ready, or under way, that serves wanted.
  std::list<Slide>::iterator ReadyFor(const Job& wanted);
  bool RunningFor(const Job& wanted) const {
    return running_ && Serves(*running_, wanted) && !calledOff_;
  }
  void Run();
  Slide Load(const Job& job);

  format::ShowFile& show_;
  std::function<void()> wake_;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<Job> queue_;               // waiting for the thread, first first
  std::optional<Job> running_;          // under way
  std::list<Slide> ready_;              // a few at most
  std::atomic<bool> calledOff_{false};  // the slide under way is no longer wanted
  bool stopping_ = false;
  std::thread thread_;  // last: started once everything else is set up
};

}  // namespace pivolane::player

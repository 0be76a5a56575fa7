// Slides read, deciphered, decoded and fitted on a thread of their own, one
// at a time, so that the window's thread stays free for the user: the slide
// the window asks for now, and meanwhile the one the show will ask for next.
// It holds at most one slide ready besides the one under way, so memory is
// the slide on screen, the one ahead, and one decoder's working memory.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

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

  // Slide slideNumber fitted into frame is wanted: kept when it is ready or
  // under way, else started, calling off any other slide under way and
  // dropping any other slide ready.
  void Want(int slideNumber, playback::Size frame);
  // That slide, handed over, once it is ready; nullopt until then.
  std::optional<Slide> Take(int slideNumber, playback::Size frame);

 private:
  struct Job {
    int slideNumber = 0;
    playback::Size frame;
    bool operator==(const Job& other) const {
      return slideNumber == other.slideNumber && frame.width == other.frame.width &&
             frame.height == other.frame.height;
    }
  };
  static bool Holds(const Slide& slide, const Job& job) {
    return job == Job{slide.slideNumber, slide.frame};
  }
  void Run();
  Slide Load(const Job& job);

  format::ShowFile& show_;
  std::function<void()> wake_;
  std::mutex mutex_;
  std::condition_variable wanted_changed_;
  std::optional<Job> wanted_;   // waiting for the thread
  std::optional<Job> running_;  // under way
  std::optional<Slide> ready_;
  std::atomic<bool> calledOff_{false};  // the slide under way is no longer wanted
  bool stopping_ = false;
  std::thread thread_;  // last: started once everything else is set up
};

}  // namespace pivolane::player

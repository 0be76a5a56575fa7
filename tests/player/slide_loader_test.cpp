#include "player/slide_loader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "tests/common/sample_pictures.h"
#include "tests/common/test_support.h"
#include "tests/player/show_builder.h"

namespace pivolane::player {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

class SlideLoaderTest : public ::testing::Test {
 protected:
  SlideLoaderTest() {
    WriteBytes(folder_ / "big.jpg", test_pictures::SampleJpeg(1600, 1200, {200, 10, 10}));
    WriteBytes(folder_ / "broken.gif", {'G', 'I', 'F', '8', '9', 'a', 1});
    WriteBytes(folder_ / "small.bmp", test_pictures::SampleBmp(30, 20, {0, 0, 255}));
    test_shows::ShowContents contents;
    contents.slides = {{"Grande", folder_ / "big.jpg"},
                       {"Cassée", folder_ / "broken.gif"},
                       {"Petite", folder_ / "small.bmp"}};
    contents.password = "pw";
    test_shows::BuildShow(folder_ / "show.exe", std::vector<std::uint8_t>(512, 0x7F), contents);
    show_.emplace(format::ShowFile::Open(folder_ / "show.exe", format::ShowFileKind::kSelfRunning));
    EXPECT_TRUE(show_->Unlock("pw"));
    show_->Entries();
  }

  // Waits, as the window does, until the loader hands the slide over.
  SlideLoader::Slide Await(SlideLoader& loader, int slideNumber, playback::Size frame) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::unique_lock lock(mutex_);
    for (;;) {
      SlideLoader::Slide slide;
      if (loader.Take(slideNumber, frame, slide)) return slide;
      if (wakes_.wait_until(lock, until) == std::cv_status::timeout) {
        ADD_FAILURE() << "slide " << slideNumber << " never came";
        return {};
      }
    }
  }

  ScratchFolder folder_;
  std::optional<format::ShowFile> show_;
  std::mutex mutex_;
  std::condition_variable wakes_;
};

TEST_F(SlideLoaderTest, SlidesComeDecipheredFittedAndTitledOrMarkedBad) {
  SlideLoader loader(*show_, [this] {
    const std::lock_guard lock(mutex_);
    wakes_.notify_all();
  });
  const playback::Size frame{800, 500};
  loader.Want(1, frame);
  const SlideLoader::Slide big = Await(loader, 1, frame);
  EXPECT_EQ(big.entry.TrimmedTitle(), "Grande");
  ASSERT_TRUE(big.picture);
  EXPECT_EQ(big.picture->pixels.width, 667);  // 1600 x 1200 reduced to 500 high
  EXPECT_EQ(big.picture->pixels.height, 500);
  EXPECT_EQ(big.picture->placement.left, 66);
  SlideLoader::Slide none;
  EXPECT_FALSE(loader.Take(1, frame, none));  // handed over once
  // Wanted for the screen, then for a window a title bar lower: loaded once,
  // for the screen, and fitted again by the window.
  loader.Want(1, frame);
  loader.Want(1, {800, 480});
  EXPECT_EQ(Await(loader, 1, {800, 480}).picture->pixels.height, 500);

  loader.Want(2, frame);
  const SlideLoader::Slide broken = Await(loader, 2, frame);
  EXPECT_EQ(broken.entry.TrimmedTitle(),
            "Cass\xe9"
            "e");  // code page 1252, as stored
  EXPECT_FALSE(broken.picture);
}

TEST_F(SlideLoaderTest, ASlideNoLongerWantedIsCalledOffOrLetGo) {
  SlideLoader loader(*show_, [this] {
    const std::lock_guard lock(mutex_);
    wakes_.notify_all();
  });
  const playback::Size frame{800, 500};
  loader.Want(1, frame);  // read ahead, then the user goes elsewhere
  loader.Want(3, frame);
  const SlideLoader::Slide small = Await(loader, 3, frame);
  ASSERT_TRUE(small.picture);
  EXPECT_EQ(small.picture->pixels.width, 30);
  SlideLoader::Slide none;
  EXPECT_FALSE(loader.Take(1, frame, none));
  // The same slide for another frame is another slide.
  loader.Want(3, {20, 20});
  EXPECT_EQ(Await(loader, 3, {20, 20}).picture->pixels.width, 20);
  EXPECT_FALSE(loader.Take(3, frame, none));

  // Slides on either side are prepared; a slide kept stays ready while it
  // is one of them, and what Prepare no longer names is let go.
  loader.Keep(small);
  loader.Prepare({2, 3}, frame);
  EXPECT_FALSE(Await(loader, 2, frame).picture);
  EXPECT_TRUE(loader.Take(3, frame, none));
  loader.Keep(small);
  loader.Prepare({1}, frame);
  EXPECT_FALSE(loader.Take(3, frame, none));
  loader.Want(1, frame);  // ends with the loader while it works
}

}  // namespace
}  // namespace pivolane::player

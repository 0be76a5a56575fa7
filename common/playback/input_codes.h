// The codes that playback reacts to: key codes and mouse button numbers, as
// the playback windows hand them to Playback::HandleInput. Each window maps
// its toolkit's keys and buttons onto these.
#pragma once

namespace pivolane::playback {

namespace input_code {
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kBackspace = 8;
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kLeftArrow = 37;
inline constexpr int kRightArrow = 39;
// For keys that have no code of their own: they pause the show and do nothing else.
inline constexpr int kOtherKey = 0;
}  // namespace input_code

enum class InputAction { kNone, kNext, kPrevious, kEnd };

// What an input code does once it has stopped the slide timer.
InputAction ActionForInput(int code);

}  // namespace pivolane::playback

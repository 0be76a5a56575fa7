#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include <string>

#include "common/playback/input_codes.h"
#include "player/key_codes.h"
#include "player/player_texts.h"

namespace pivolane::player {
namespace {

namespace code = playback::input_code;

TEST(PlayerInput, KeysAndButtonsGiveTheirCodes) {
  EXPECT_EQ(InputCodeForKey(FL_Enter), code::kEnter);
  EXPECT_EQ(InputCodeForKey(FL_KP_Enter), code::kEnter);
  EXPECT_EQ(InputCodeForKey(' '), code::kSpace);
  EXPECT_EQ(InputCodeForKey(FL_Right), code::kRightArrow);
  EXPECT_EQ(InputCodeForKey(FL_Left), code::kLeftArrow);
  EXPECT_EQ(InputCodeForKey(FL_BackSpace), code::kBackspace);
  EXPECT_EQ(InputCodeForKey(FL_Escape), code::kEscape);
  for (int other : {FL_Up, FL_Down, FL_Shift_L, static_cast<int>('a'), FL_F + 1}) {
    EXPECT_EQ(InputCodeForKey(other), code::kOtherKey) << other;
  }
  EXPECT_EQ(InputCodeForButton(FL_LEFT_MOUSE), code::kLeftButton);
  EXPECT_EQ(InputCodeForButton(FL_RIGHT_MOUSE), code::kRightButton);
  EXPECT_EQ(InputCodeForButton(FL_MIDDLE_MOUSE), code::kMiddleButton);
  EXPECT_EQ(playback::ActionForInput(InputCodeForButton(FL_MIDDLE_MOUSE)),
            playback::InputAction::kNone);
}

TEST(PlayerInput, TextsFollowTheLanguageByte) {
  EXPECT_EQ(std::string(TextsFor(0).wrongPassword), "Mauvais mot de passe !");
  EXPECT_EQ(std::string(TextsFor(0).passwordLabel), "&Mot de passe");
  EXPECT_EQ(std::string(TextsFor(0).cancelButton), "&Annuler");
  EXPECT_EQ(std::string(TextsFor(0).badPicture), "ERREUR: Image incorrecte !");
  EXPECT_EQ(std::string(TextsFor(1).wrongPassword), "Wrong password !");
  EXPECT_EQ(std::string(TextsFor(1).passwordLabel), "&Password");
  EXPECT_EQ(std::string(TextsFor(1).cancelButton), "&Cancel");
  EXPECT_EQ(std::string(TextsFor(1).badPicture), "ERROR: Invalid picture !");
  EXPECT_EQ(std::string(TextsFor(7).wrongPassword), "Wrong password !");
}

}  // namespace
}  // namespace pivolane::player

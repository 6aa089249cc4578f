// Shared set-up for the board tests of the game: the rules' fresh board (RulesTest) with the
// game's effects listening, a clean hand, and a scripted mouse that runs MouseControl one frame
// at a time. No window is needed.
#pragma once

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "board/input_control.h"
#include "fx/board_effects.h"
#include "fx/board_scene.h"
#include "fx/fragments.h"
#include "tests/rules/rules_fixture.h"

class BoardTest : public RulesTest {
 protected:
  void SetUp() override {
    InstallBoardEffects();
    RulesTest::SetUp();
    Block_Size = 74;
    Half_Block = 37;
    SetCurrentScreen(Screen_Game);
    Sound_Flag = 0;
    Touch_Mode = 0;
    Mouse_X = Mouse_Y = 0;
    Mouse_Hit = Mouse_Down = 0;
    Menu_Slide = 0;
    Hover_Menu = -1;
    FX_List.clear();
  }
  void TearDown() override {
    RulesTest::TearDown();
    SetCurrentScreen(Screen_Game);
    Menu_Slide = 0;
  }

  // One frame of the mouse with the pointer in the middle of a cell.
  static void MouseFrame(int cx, int cy, int hit, int down) {
    Mouse_X = cx * Block_Size + Half_Block;
    Mouse_Y = cy * Block_Size + Half_Block;
    Mouse_Hit = hit;
    Mouse_Down = down;
    MouseControl();
    Mouse_Hit = 0;
    Now += 16;
  }
};

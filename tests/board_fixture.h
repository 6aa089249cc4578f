// Shared set-up for the board tests of the game: the rules' fresh board (RulesTest) with the
// game's effects listening, every subsystem around it as at a fresh start but silent, and a
// scripted mouse that runs MouseControl one frame at a time. No window is needed.
#pragma once

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "board/input_control.h"
#include "board/level_play.h"
#include "fx/board_effects.h"
#include "fx/board_scene.h"
#include "fx/fragments.h"
#include "fx/level_map.h"
#include "fx/particles.h"
#include "levels/pending_wins.h"
#include "tests/rules/rules_fixture.h"
#include "ui/tutorial.h"

class BoardTest : public RulesTest {
 protected:
  void SetUp() override {
    InstallBoardEffects();
    RulesTest::SetUp();
    ResetGame();
  }
  void TearDown() override {
    RulesTest::TearDown();
    ResetGame();
  }

  // The game screen, the default display size, no level, nothing flying, no map scrolled, no
  // tutorial, no hover; music and effects off, so a test hears only what it turns on.
  static void ResetGame() {
    ResetShellState();
    ResetDisplay();
    ResetMusic();
    Music_Flag = Sound_Flag = 0;
    ResetLevelPlay();
    ResetPendingWins();
    ResetBoardEffects();
    ResetLevelMap();
    ResetTutorial();
    Hover_Menu = -1;
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

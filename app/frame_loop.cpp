// The frame loop: one update and one draw of the running screen per presented frame.
#include "app/frame_loop.h"

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/startup.h"
#include "app/state.h"
#include "board/block.h"
#include "board/level_play.h"
#include "board/moves.h"
#include "fx/board_scene.h"
#include "fx/level_map.h"
#include "fx/victory.h"
#include "i18n/language_select.h"
#include "ui/credits.h"
#include "ui/menu.h"
#include "ui/style_screen.h"
#include "ui/tutorial.h"

static void SampleInput() {
  PollSystemEvents();
  Mouse_X = MouseX();
  Mouse_Y = MouseY();
  Mouse_Z = MouseZ();
  Mouse_Hit = MouseHit(1);
  Mouse_Down = MouseDown(1);
  Mouse_Right_Hit = MouseHit(2);
  // A real mouse click ends touch mode.
  if (Touch_Mode && Mouse_Hit) {
    ShowPointer();
    Touch_Mode = 0;
  }
  PollTouch();
  Mouse_X -= Origin_X;
  Mouse_Y -= Origin_Y;
  Now = ReadClock();
  Key_Char = NextChar();
}

void ResizePlayArea(int direction) {
  if (StepDisplaySize(direction) == 1) {
    ApplyDisplayMode();
    T_BLOCK::PosAllBlocks();
    // The flags were laid out for the old board width; left alone, some would sit under the
    // side bar or below the window where no click can reach them.
    if (Current_Screen == Screen_First_Language || Current_Screen == Screen_Language) {
      T_LANG::InitFlagsSelection();
    }
  }
}

static void HandleGlobalKeys() {
  if (KeyHit(KEY_ESCAPE) || Key_Char == 27) {
    switch (Current_Screen) {
      case Screen_MainMenu: SaveProfileAndQuit();
      case Screen_Language: GotoScreen(Screen_Options); break;
      case Screen_First_Language: break;   // the first language must be chosen
      default: GotoScreen(Screen_MainMenu); break;
    }
  }
  switch (Key_Char) {
    case 'm': case 'M':
      SetMusic(1 - Music_Flag);
      break;
    case 'h': case 'H':
      if (Own_Cursor) {
        Own_Cursor = 0;
        ShowPointer();
      } else {
        Own_Cursor = 1;
        HidePointer();
      }
      break;
    case 'x': case 'X':
      Border_Fix = 1 - Border_Fix;
      ApplyViewport();
      break;
    case '+': ResizePlayArea(1); break;
    case '-': ResizePlayArea(-1); break;
    default: break;
  }
  // The level map pages with the shoulders instead.
  if (Current_Screen != Screen_Level_List) {
    if (KeyHit(KEY_PAD_RIGHT_SHOULDER)) ResizePlayArea(1);
    if (KeyHit(KEY_PAD_LEFT_SHOULDER)) ResizePlayArea(-1);
  }
}

static void UpdateScreen() {
  switch (Current_Screen) {
    case Screen_Level_List: UpdateLevelMap(); break;
    case Screen_Victory: UpdateVictory(); break;
    case Screen_First_Language:
    case Screen_Language: T_LANG::DoFlagsSelection(); break;
    case Screen_Tutorial:
      TutorialGate();
      TutorialStep();
      UpdateBoardScreen();
      break;
    case Screen_Credits: break;
    default:
      if (Current_Screen == Screen_Options && Mouse_Hit) ClickLinkRow(0);
      UpdateBoardScreen();
      break;
  }
}

static void DrawBackground(Image* picture) {
  SetBlend(BLEND_SOLID);
  SetColour(255, 255, 255);
  DrawImageRect(picture, 0, 0, static_cast<float>(10 * Block_Size), static_cast<float>(8 * Block_Size));
}

static void DrawScreen() {
  switch (Current_Screen) {
    case Screen_Game:
      DrawBackground(Img_Background_Game);
      DrawBoardScene();
      break;
    case Screen_Level_List:
      DrawBackground(Img_Background);
      DrawLevelMap();
      DrawMapZoom();
      break;
    case Screen_Style:
      DrawBackground(Img_Background_Style);
      DrawStyleHint();
      DrawBoardScene();
      break;
    case Screen_Tutorial:
      DrawBackground(Img_Background_Tutorial);
      DrawBoardScene();
      break;
    case Screen_Victory: {
      DrawBackground(Img_Background);
      // The replay under the verdict stays calm: no particles.
      int particles = Detail_Particles;
      Detail_Particles = 0;
      DrawBoardScene();
      Detail_Particles = particles;
      DrawVictoryScreen();
      break;
    }
    case Screen_First_Language:
    case Screen_Language:
      DrawBackground(Img_Bumper);
      T_LANG::DrawFlagsSelection();
      break;
    case Screen_Credits:
      DrawBackground(Img_Background);
      DrawCreditsPage();
      break;
    default:
      DrawBackground(Img_Background_Menus);
      if (Current_Screen == Screen_Options) DrawLinkRow(0);
      DrawBoardScene();
      break;
  }
}

static void DrawHand(Image* hand, float alpha, float x, float y) {
  SetAlpha(alpha);
  DrawImage(hand, x - 85, y - 50);
  SetAlpha(1);
}

static void DrawOverlays() {
  if (Current_Screen != Screen_Victory && Key_Cursor_Mode != 0) {
    SetBlend(BLEND_ALPHA);
    float x = static_cast<float>(Key_Cursor_X * Block_Size + Half_Block);
    float y = static_cast<float>(Key_Cursor_Y * Block_Size + Half_Block);
    if (Key_Cursor_Mode == 1) DrawHand(Img_Cursor, 0.7f, x, y);
    if (Key_Cursor_Mode == 2) DrawHand(Img_Cursor_Pressed, 0.6f, x, y);
  }
  DrawSideBar();
  DrawPopText();
  DrawTutorialHand();
  if (Border_Fix) DrawBorderBands();
  if (Own_Cursor) {
    SetBlend(BLEND_ALPHA);
    SetColour(255, 255, 255);
    if (Border_Fix == 0) WidenViewport();
    SetAlpha(1);
    float x = static_cast<float>(Mouse_X), y = static_cast<float>(Mouse_Y);
    bool in_game = Current_Screen == Screen_Game;
    if (Mouse_Hit || Mouse_Down) {
      DrawHand(Img_Cursor_Pressed, in_game ? 0.5f : 1.0f, x, y);
    } else {
      DrawHand(Img_Cursor, in_game ? 0.8f : 1.0f, x, y);
    }
    if (Border_Fix == 0) ApplyViewport();
  }
}

void RunOneFrame() {
  SampleInput();
  HandleGlobalKeys();
  UpdateMusicFade();
  UpdateSideBar();
  UpdateScreen();

  SetBlend(BLEND_SOLID);
  if (Own_Cursor) {
    // The hand may be drawn outside the play area, so the whole window is cleared.
    SetClearColour(0, 0, 0);
    if (Border_Fix == 0) WidenViewport();
    ClearViewport();
    if (Border_Fix == 0) ApplyViewport();
  }
  SetColour(255, 255, 255);
  DrawScreen();
  DrawOverlays();

  SetAlpha(1);
  PresentFrame(1);
  if (CloseRequested()) SaveProfileAndQuit();
}

void RunFrameLoop() {
  for (;;) RunOneFrame();
}

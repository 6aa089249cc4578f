// Fragments: the pictures of cleared blocks that wait while their block flashes, then fly off in
// the direction of the move that completed the colour and fall until they leave the screen.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "platform/platform.h"

class T_FX {
 public:
  int X = 0, Y = 0;      // drawn top-left, board pixels
  float fX = 0, fY = 0;  // exact position
  float vX = 0, vY = 0;  // pixels per update; positive vY is down
  float vR = 0;          // kept at 0: fragments do not turn
  int64_t Timer = 0;     // launch time while waiting; 0 once flying
  Image* BitmapPtr = nullptr;   // tile strip of the cleared block's kind
  float Zoom = 0;        // kept at 0: fragments do not grow

  // One fragment per held block, launched after delay ms in the direction (dirX, dirY), each
  // -1, 0 or 1; (0, 0) when no move caused the clearing.
  static void ExplodeSelectedBlocks(int64_t delay, int dirX, int dirY);
  // One update of every fragment: launch, flight under gravity, and removal off screen.
  static void DoBlocksExplosion();
  // All shadows first, then all fragments, so no shadow falls on a fragment.
  static void DrawAll();
  void Draw();
  void DrawShadow();
};

// Fragments still waiting or flying, in launch order. Menu choices and the win wait until it
// is empty; it is never cleared, fragments leave only by flying off screen.
extern std::list<std::unique_ptr<T_FX>> FX_List;

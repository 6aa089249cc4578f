// Fragments: the pictures of cleared blocks that fly off the board after a colour is complete.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "platform/platform.h"

class T_FX {
 public:
  int X = 0, Y = 0;
  float fX = 0, fY = 0;
  float vX = 0, vY = 0;
  float vR = 0;
  int64_t Timer = 0;   // launch time; 0 once flying
  Image* BitmapPtr = nullptr;
  float Zoom = 0;

  // One fragment per held block, launched after delay ms in the direction (dirX, dirY).
  static void ExplodeSelectedBlocks(int64_t delay, int dirX, int dirY);
  static void DoBlocksExplosion();
  static void DrawAll();
  void Draw();
  void DrawShadow();
};

// Fragments still waiting or flying; menu choices and the win wait until it is empty.
extern std::list<std::unique_ptr<T_FX>> FX_List;

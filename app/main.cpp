// The game's program entry. "--level CODE" starts with the random level of a level code, the
// code a victory screen shows, so that a player can play the board another one passed on.
#include <cstdio>
#include <cstring>

#include "app/frame_loop.h"
#include "app/startup.h"
#include "levels/random_level.h"

int main(int argc, char** argv) {
  const char* code = nullptr;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc) {
      code = argv[++i];
    } else {
      std::fprintf(stderr, "usage: quark [--level CODE]\n");
      return 2;
    }
  }
  StartGame();
  if (code) StartLevelFromCode(code);
  RunFrameLoop();
}

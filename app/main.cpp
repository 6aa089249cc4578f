// The game's program entry.
#include "app/frame_loop.h"
#include "app/startup.h"

int main() {
  StartGame();
  RunFrameLoop();
}

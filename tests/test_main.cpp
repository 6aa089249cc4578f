// The test program's entry: every test runs headless, whether started by ctest or by hand.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  // Values already set by the caller win.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

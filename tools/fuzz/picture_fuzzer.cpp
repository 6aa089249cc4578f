// Fuzz target: any bytes as a picture from the player's folder, a flag (see
// player_file_checks.h for what must hold).
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/headless.h"
#include "tools/fuzz/player_file_checks.h"

namespace {
String Picture;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterHeadlessMode();
  const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  Picture = FromLatin1(folder + "/quark-fuzz-picture-" + std::to_string(getpid()) + ".png");
  std::atexit([] { DeleteFile(Picture); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!player_file_checks::PlayerPictureIsSound(data, size, Picture)) std::abort();
  return 0;
}

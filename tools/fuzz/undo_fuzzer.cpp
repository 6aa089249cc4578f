// Fuzz target: any bytes as the undo history, resumed, taken back step by step, extended and
// replayed (see progress_checks.h for what must hold).
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/assets.h"
#include "board/shapes.h"
#include "fx/board_effects.h"
#include "platform/headless.h"
#include "tools/fuzz/progress_checks.h"

namespace {
String History;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterHeadlessMode();
  // The boards are read as in the game, particles and messages included.
  InstallBoardEffects();
  RegisterEmbeddedData();
  LoadShapeTable(u"incbin::Data/TabFrame3.bin");
  SetDefaultStyles();
  // Every undo renames a fresh copy into place; memory-backed /dev/shm keeps that cheap.
  const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  History = FromLatin1(folder + "/quark-fuzz-undo-" + std::to_string(getpid()) + ".bin");
  std::atexit([] {
    DeleteFile(History);
    DeleteFile(History + u"_t");
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!progress_checks::UndoHistoryIsSound(data, size, History)) std::abort();
  return 0;
}

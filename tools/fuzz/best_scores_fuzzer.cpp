// Fuzz target: any bytes as the best-scores file, linked to the shipped catalogue, then wins
// entered and the file written back (see progress_checks.h for what must hold).
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/assets.h"
#include "platform/headless.h"
#include "tools/fuzz/progress_checks.h"

namespace {
String Scores;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterHeadlessMode();
  RegisterEmbeddedData();
  if (!LoadCatalogue(u"incbin::Data/full2.lvl")) std::abort();
  const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  Scores = FromLatin1(folder + "/quark-fuzz-scores-" + std::to_string(getpid()) + ".bin");
  std::atexit([] {
    DeleteFile(Scores);
    DeleteFile(Scores + u"_t");
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!progress_checks::BestScoresAreSound(data, size, Scores)) std::abort();
  return 0;
}

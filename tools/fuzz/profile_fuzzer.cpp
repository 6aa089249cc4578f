// Fuzz target: any bytes read as the user profile (see reader_checks.h for what must hold).
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/headless.h"
#include "tools/fuzz/reader_checks.h"

namespace {
String Written_Copy;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterHeadlessMode();
  // The writer flushes to disk on every call; memory-backed /dev/shm keeps that cheap.
  const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  Written_Copy = FromLatin1(folder + "/quark-fuzz-profile-" + std::to_string(getpid()) + ".txt");
  std::atexit([] { DeleteFile(Written_Copy); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!reader_checks::ProfileReadIsSound(data, size, Written_Copy)) std::abort();
  return 0;
}

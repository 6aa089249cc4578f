// Fuzz target: any bytes read as a language file, in whatever encoding their first bytes
// claim (see reader_checks.h for what must hold).
#include <cstdlib>

#include "platform/headless.h"
#include "tools/fuzz/reader_checks.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterHeadlessMode();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!reader_checks::LanguageLoadIsSound(data, size)) std::abort();
  return 0;
}

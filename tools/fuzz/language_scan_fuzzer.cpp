// Fuzz target: any language file beside any flag in the language folder, scanned as the
// language screen does (see player_file_checks.h for what must hold).
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/assets.h"
#include "platform/headless.h"
#include "tools/fuzz/player_file_checks.h"

namespace {
std::string Scan_Folder;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterHeadlessMode();
  RegisterEmbeddedData();
  Block_Size = 74;
  Resolution_X = 804;
  Resolution_Y = 592;
  Font_Main = LoadFont(u"incbin::Data/a2.ttf", 35);
  SetFallbackFont(u"incbin::Data/cjk_fallback.ttf");
  // Deep enough that a flag named "../../dev/zero" and the like reaches outside it.
  const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  Scan_Folder = base + "/quark-fuzz-scan-" + std::to_string(getpid()) + "/a/b";
  std::filesystem::create_directories(Scan_Folder);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(Scan_Folder.substr(0, Scan_Folder.size() - 4), ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!player_file_checks::LanguageScanIsSound(data, size, Scan_Folder)) std::abort();
  return 0;
}

// A private folder of scratch files for one test, removed with everything in it when the test
// ends. Tests run side by side in separate processes, so no two of them may share a file name.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"

class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code ignored;
    std::string base = std::filesystem::temp_directory_path(ignored).string();
    if (base.empty()) base = "/tmp";
    std::string pattern = base + "/quark-files-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) Path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!Path.empty()) std::filesystem::remove_all(Path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string Name(const std::string& name) const { return Path + "/" + name; }
  String File(const std::string& name) const { return FromLatin1(Name(name)); }

  std::string Path;
};

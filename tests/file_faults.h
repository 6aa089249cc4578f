// Faults of the player's disk on demand: whole-file reads and writes,
// and a write that fails after a given number of bytes (the process's file-size limit, which
// holds even for root and stops every write past it with an error, like a full disk).
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "tests/scratch_folder.h"

inline std::string ReadWhole(const String& path) {
  std::ifstream in(ToLatin1(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteWhole(const String& path, const std::string& bytes) {
  std::ofstream(ToLatin1(path), std::ios::binary | std::ios::trunc) << bytes;
}

inline bool Exists(const String& path) { return std::filesystem::exists(ToLatin1(path)); }

// While alive, no file of the process can grow past `bytes`.
class WriteLimit {
 public:
  explicit WriteLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);   // the write reports an error instead of ending the process
    getrlimit(RLIMIT_FSIZE, &Old);
    rlimit limit = {bytes, Old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~WriteLimit() { setrlimit(RLIMIT_FSIZE, &Old); }

 private:
  rlimit Old{};
};

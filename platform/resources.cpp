// Embedded resources and urls: "incbin::" + a registered name, or a path of the system.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <unordered_map>

#include "platform/internal_core.h"
#include "platform/platform.h"

namespace {

const String Embedded_Prefix = u"incbin::";

struct Resource {
  const uint8_t* Data;
  size_t Size;
};

std::unordered_map<String, Resource>& Resources() {
  static std::unordered_map<String, Resource> table;
  return table;
}

}  // namespace

void RegisterResource(const String& name, const uint8_t* data, size_t size) {
  Resources()[name] = {data, size};
}

bool FindResource(const String& name, const uint8_t** data, size_t* size) {
  auto it = Resources().find(name);
  if (it == Resources().end()) return false;
  *data = it->second.Data;
  *size = it->second.Size;
  return true;
}

// The system sees paths as bytes; the game carries each byte in the low byte of one unit,
// so names that are not valid text in any encoding still round-trip.
std::string SystemPath(const String& path) { return ToLatin1(path); }

bool EmbeddedUrl(const String& url, const uint8_t** data, size_t* size, bool* embedded) {
  *embedded = url.compare(0, Embedded_Prefix.size(), Embedded_Prefix) == 0;
  if (!*embedded) return false;
  return FindResource(url.substr(Embedded_Prefix.size()), data, size);
}

int OpenRegularFile(const std::string& path, int access) {
  // Opened without waiting, so a pipe cannot hold the game up before it is seen to be one.
  int fd = open(path.c_str(), access | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  int flags = -1;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (flags = fcntl(fd, F_GETFL)) < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool ReadUrlBytes(const String& url, std::vector<uint8_t>* bytes, size_t max_size) {
  const uint8_t* data;
  size_t size;
  bool embedded;
  if (EmbeddedUrl(url, &data, &size, &embedded)) {
    if (size > max_size) return false;
    bytes->assign(data, data + size);
    return true;
  }
  if (embedded) return false;
  int fd = OpenRegularFile(SystemPath(url), O_RDONLY);
  if (fd < 0) return false;
  bytes->clear();
  uint8_t buf[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      ok = false;
      break;
    }
    // Checked as it is read: the file may grow while it is read.
    if (bytes->size() + size_t(n) > max_size) {
      ok = false;
      break;
    }
    bytes->insert(bytes->end(), buf, buf + n);
  }
  close(fd);
  if (!ok) bytes->clear();
  return ok;
}

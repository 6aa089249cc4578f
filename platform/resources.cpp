// Embedded resources and urls: "incbin::" + a registered name, or a path of the system.
#include <cstdio>
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

bool ReadUrlBytes(const String& url, std::vector<uint8_t>* bytes) {
  const uint8_t* data;
  size_t size;
  bool embedded;
  if (EmbeddedUrl(url, &data, &size, &embedded)) {
    bytes->assign(data, data + size);
    return true;
  }
  if (embedded) return false;
  FILE* f = std::fopen(SystemPath(url).c_str(), "rb");
  if (!f) return false;
  bytes->clear();
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

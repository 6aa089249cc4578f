// SDL's read-only streams over urls, for the picture, font and sound decoders.
#include <SDL.h>

#include "platform/internal.h"

SDL_RWops* OpenUrlRw(const String& url, std::vector<uint8_t>* keep, size_t max_size) {
  const uint8_t* data;
  size_t size;
  bool embedded;
  if (EmbeddedUrl(url, &data, &size, &embedded)) return SDL_RWFromConstMem(data, int(size));
  if (embedded || !ReadUrlBytes(url, keep, max_size)) return nullptr;
  return SDL_RWFromConstMem(keep->data(), int(keep->size()));
}

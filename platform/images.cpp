// Pictures: loading PNG and JPEG files and strips, empty grab-able images, textures, drawing.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstring>

#include "platform/compositor.h"
#include "platform/internal.h"
#include "platform/platform.h"

namespace {

SDL_Surface* NewFrameSurface(int w, int h) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (s) SDL_FillRect(s, nullptr, 0);
  return s;
}

// Loads a picture in ARGB8888; pure black becomes fully transparent when `mask` is set.
SDL_Surface* LoadPicture(const String& url, bool mask) {
  if (!EnsureImage()) return nullptr;
  std::vector<uint8_t> keep;
  SDL_RWops* rw = OpenUrlRw(url, &keep);
  if (!rw) return nullptr;
  SDL_Surface* raw = IMG_Load_RW(rw, 1);
  if (!raw) return nullptr;
  SDL_Surface* pic = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(raw);
  if (!pic) return nullptr;
  if (mask) {
    SDL_LockSurface(pic);
    for (int y = 0; y < pic->h; y++) {
      uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pic->pixels) + y * pic->pitch);
      for (int x = 0; x < pic->w; x++) {
        if ((row[x] & 0xFFFFFF) == 0) row[x] = 0;
      }
    }
    SDL_UnlockSurface(pic);
  }
  return pic;
}

bool Masked(int flags) { return flags == IMAGE_DEFAULT || (flags & IMAGE_MASKED) != 0; }
bool Filtered(int flags) { return flags == IMAGE_DEFAULT || (flags & IMAGE_FILTERED) != 0; }

Image* NewImage(int w, int h, int frames, bool filter) {
  Image* img = new Image;
  img->W = w;
  img->H = h;
  img->Filter = filter;
  img->Frames.assign(size_t(frames), nullptr);
  img->Textures.assign(size_t(frames), nullptr);
  img->Texture_Generation.assign(size_t(frames), 0);
  img->Texture_Version.assign(size_t(frames), 0);
  img->Stale.assign(size_t(frames), 0);
  return img;
}

}  // namespace

Image* LoadImage(const String& url, int flags) {
  SDL_Surface* pic = LoadPicture(url, Masked(flags));
  if (!pic) return nullptr;
  Image* img = NewImage(pic->w, pic->h, 1, Filtered(flags));
  img->Frames[0] = pic;
  return img;
}

Image* LoadImageStrip(const String& url, int w, int h, int first, int count, int flags) {
  if (w <= 0 || h <= 0 || count <= 0 || first < 0) return nullptr;
  SDL_Surface* pic = LoadPicture(url, Masked(flags));
  if (!pic) return nullptr;
  // Frames are read left to right, then row by row when the picture holds several rows;
  // a frame that lies (partly) outside the picture is transparent there.
  int columns = std::max(pic->w / w, 1);
  Image* img = NewImage(w, h, count, Filtered(flags));
  SDL_SetSurfaceBlendMode(pic, SDL_BLENDMODE_NONE);
  for (int k = 0; k < count; k++) {
    int index = first + k;
    SDL_Rect src = {(index % columns) * w, (index / columns) * h, w, h};
    img->Frames[size_t(k)] = NewFrameSurface(w, h);
    if (img->Frames[size_t(k)]) SDL_BlitSurface(pic, &src, img->Frames[size_t(k)], nullptr);
  }
  SDL_FreeSurface(pic);
  return img;
}

Image* CreateImage(int w, int h, int frames, int flags) {
  if (w <= 0 || h <= 0 || frames <= 0) return nullptr;
  Image* img = NewImage(w, h, frames, Filtered(flags));
  for (int k = 0; k < frames; k++) img->Frames[size_t(k)] = NewFrameSurface(w, h);
  return img;
}

void GrabImage(Image* img, int x, int y, int frame) {
  if (!img || !Renderer || frame < 0 || frame >= int(img->Frames.size())) return;
  // Everything drawn so far must be in the frame that is read.
  ComposePending();
  SDL_Surface* dst = img->Frames[size_t(frame)];
  if (!dst) return;
  int out_w = 0, out_h = 0;
  if (SDL_GetRendererOutputSize(Renderer, &out_w, &out_h) != 0) return;
  // Only the part of the area that lies inside the window can be read; the rest of the frame
  // keeps its pixels.
  SDL_Rect area = {x, y, img->W, img->H}, window = {0, 0, out_w, out_h}, part;
  if (!SDL_IntersectRect(&area, &window, &part)) return;
  uint8_t* at = static_cast<uint8_t*>(dst->pixels) + (part.y - y) * dst->pitch + (part.x - x) * 4;
  if (SDL_RenderReadPixels(Renderer, &part, SDL_PIXELFORMAT_ARGB8888, at, dst->pitch) != 0) return;
  for (int row = 0; row < part.h; row++) {
    uint32_t* p = reinterpret_cast<uint32_t*>(at + row * dst->pitch);
    for (int col = 0; col < part.w; col++) p[col] |= 0xFF000000u;
  }
  img->Stale[size_t(frame)] = 1;
}

void FreeImage(Image* img) {
  if (!img) return;
  for (size_t k = 0; k < img->Frames.size(); k++) {
    if (img->Textures[k] && img->Texture_Generation[k] == Renderer_Generation) {
      RetireTexture(img->Textures[k]);
    }
    SDL_FreeSurface(img->Frames[k]);
  }
  delete img;
}

int ImageWidth(Image* img) { return img ? img->W : 0; }
int ImageHeight(Image* img) { return img ? img->H : 0; }
int ImageFrames(Image* img) { return img ? int(img->Frames.size()) : 0; }

SDL_Texture* FrameTexture(Image* img, int frame) {
  if (!Renderer || !img || frame < 0 || frame >= int(img->Frames.size())) return nullptr;
  size_t k = size_t(frame);
  SDL_Surface* s = img->Frames[k];
  if (!s) return nullptr;
  if (img->Textures[k] && img->Texture_Generation[k] != Renderer_Generation) {
    img->Textures[k] = nullptr;  // died with its renderer
  }
  if (img->Textures[k] && img->Stale[k]) {
    // New pixels go into a new texture: draws recorded with the old pixels keep them until the
    // frame is composed, and a texture's content never changes under its version.
    RetireTexture(img->Textures[k]);
    img->Textures[k] = nullptr;
  }
  if (!img->Textures[k]) {
    img->Textures[k] = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STATIC, s->w, s->h);
    if (!img->Textures[k]) return nullptr;
    img->Texture_Generation[k] = Renderer_Generation;
    img->Stale[k] = 1;
  }
  if (img->Stale[k]) {
    SDL_UpdateTexture(img->Textures[k], nullptr, s->pixels, s->pitch);
    img->Stale[k] = 0;
    img->Texture_Version[k] = NextTextureVersion();
  }
  return img->Textures[k];
}

void DrawImage(Image* img, float x, float y, int frame) {
  if (!img) return;
  SDL_Texture* tex = FrameTexture(img, frame);
  if (tex) DrawTexture(tex, img->Texture_Version[size_t(frame)], nullptr, x, y, float(img->W), float(img->H), img->Filter);
}

void DrawImageRect(Image* img, float x, float y, float w, float h, int frame) {
  if (!img) return;
  SDL_Texture* tex = FrameTexture(img, frame);
  if (tex) DrawTexture(tex, img->Texture_Version[size_t(frame)], nullptr, x, y, w, h, img->Filter);
}

bool EnsureImage() {
  static bool tried = false;
  if (!tried) {
    tried = true;
    int wanted = IMG_INIT_PNG | IMG_INIT_JPG;
    // A missing decoder only fails the pictures of its kind; the others still load.
    if ((IMG_Init(wanted) & wanted) != wanted) SDL_Log("Picture decoder missing: %s", IMG_GetError());
  }
  return true;
}

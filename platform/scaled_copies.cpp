// Copies of pictures and texts scaled once to the sizes they keep being drawn at (backgrounds
// stretched to the board, tiles at the cell size, sparkles at their few sizes, the level's number
// five times its size), so a frame copies their pixels instead of scaling them again, and the
// frame composer can redraw part of one cleanly.
#include <SDL.h>

#include <cmath>
#include <unordered_map>

#include "platform/compositor.h"
#include "platform/internal.h"

namespace {

// Kept copies hold at most this many pixels (12 MB), times the pixels per unit squared on a
// high-density display (a background at the board's size has four times the pixels at 2x);
// the least recently drawn go first.
constexpr int64_t Pixel_Budget_1x = 3 * 1024 * 1024;
int64_t PixelBudget() { return int64_t(double(Pixel_Budget_1x) * Pixel_Ratio * Pixel_Ratio); }

struct CopyKey {
  const void* Picture;   // the picture, or the texture of a text
  int Frame, W, H;
  bool operator==(const CopyKey& o) const {
    return Picture == o.Picture && Frame == o.Frame && W == o.W && H == o.H;
  }
};

struct CopyKeyHash {
  size_t operator()(const CopyKey& k) const {
    size_t h = std::hash<const void*>()(k.Picture);
    for (int v : {k.Frame, k.W, k.H}) h = h * 0x9E3779B97F4A7C15ull + size_t(unsigned(v));
    return h;
  }
};

struct ScaledCopy {
  SDL_Texture* Texture = nullptr;
  uint64_t Version = 0;
  uint64_t Source_Version = 0;
  uint64_t Generation = 0;
  uint64_t Last_Used = 0;
};

std::unordered_map<CopyKey, ScaledCopy, CopyKeyHash> Copies;
// Sizes asked for once: a size seen only once may be one step of an animation (the level map's
// zoom), which would fill the budget with copies drawn a single time.
std::unordered_map<CopyKey, uint64_t, CopyKeyHash> Asked;
int64_t Kept_Pixels = 0;
uint64_t Draw_Clock = 0;

void Release(const CopyKey& key, ScaledCopy* copy) {
  if (copy->Texture && copy->Generation == Renderer_Generation) RetireTexture(copy->Texture);
  if (copy->Texture) Kept_Pixels -= int64_t(key.W) * key.H;
  copy->Texture = nullptr;
}

void KeepWithinBudget(int64_t more) {
  while (Kept_Pixels + more > PixelBudget() && !Copies.empty()) {
    auto oldest = Copies.begin();
    for (auto it = Copies.begin(); it != Copies.end(); ++it) {
      if (it->second.Last_Used < oldest->second.Last_Used) oldest = it;
    }
    Release(oldest->first, &oldest->second);
    Copies.erase(oldest);
  }
}

SDL_Texture* MakeCopy(SDL_Texture* source, int w, int h, bool filter) {
  SDL_Texture* copy = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
  if (!copy) return nullptr;
  SDL_Texture* previous = SDL_GetRenderTarget(Renderer);
  SDL_Rect clip;
  SDL_RenderGetClipRect(Renderer, &clip);
  bool clipped = SDL_RenderIsClipEnabled(Renderer);
  SDL_SetRenderTarget(Renderer, copy);
  SDL_RenderSetClipRect(Renderer, nullptr);
  SDL_SetTextureColorMod(source, 255, 255, 255);
  SDL_SetTextureAlphaMod(source, 255);
  SDL_SetTextureBlendMode(source, SDL_BLENDMODE_NONE);
  SDL_SetTextureScaleMode(source, filter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  int failed = SDL_RenderCopy(Renderer, source, nullptr, nullptr);
  SDL_SetRenderTarget(Renderer, previous);
  SDL_RenderSetClipRect(Renderer, clipped ? &clip : nullptr);
  if (failed != 0) {
    SDL_DestroyTexture(copy);
    return nullptr;
  }
  SDL_SetTextureScaleMode(copy, filter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  return copy;
}

}  // namespace

SDL_Texture* ScaledFrame(const void* owner, int frame, SDL_Texture* source, uint64_t source_version,
                         float w, float h, bool filter, uint64_t* version) {
  if (!Renderer || !source || !(w >= 1) || !(h >= 1) || w > 4096 || h > 4096) return nullptr;
  // A picture drawn at its own pixels' size needs no copy (on a high-density display a grabbed
  // picture holds more pixels than its size in the game's units).
  int own_w = 0, own_h = 0;
  SDL_QueryTexture(source, nullptr, nullptr, &own_w, &own_h);
  if (w != std::floor(w) || h != std::floor(h) || (int(w) == own_w && int(h) == own_h)) return nullptr;
  CopyKey key = {owner, frame, int(w), int(h)};
  Draw_Clock++;
  auto found = Copies.find(key);
  if (found != Copies.end()) {
    ScaledCopy& copy = found->second;
    if (copy.Texture && copy.Generation == Renderer_Generation && copy.Source_Version == source_version) {
      copy.Last_Used = Draw_Clock;
      *version = copy.Version;
      return copy.Texture;
    }
    Release(key, &copy);
    Copies.erase(found);
  }
  if (Asked.size() > 4096) Asked.clear();
  if (Asked.emplace(key, Draw_Clock).second) return nullptr;
  int64_t pixels = int64_t(key.W) * key.H;
  if (pixels > PixelBudget() / 2) return nullptr;
  KeepWithinBudget(pixels);
  ScaledCopy copy;
  copy.Texture = MakeCopy(source, key.W, key.H, filter);
  if (!copy.Texture) return nullptr;
  copy.Version = NextTextureVersion();
  copy.Source_Version = source_version;
  copy.Generation = Renderer_Generation;
  copy.Last_Used = Draw_Clock;
  Kept_Pixels += pixels;
  Copies.emplace(key, copy);
  *version = copy.Version;
  return copy.Texture;
}

void DropScaledFrames(const void* owner) {
  for (auto it = Copies.begin(); it != Copies.end();) {
    if (it->first.Picture == owner) {
      Release(it->first, &it->second);
      it = Copies.erase(it);
    } else {
      ++it;
    }
  }
  for (auto it = Asked.begin(); it != Asked.end();) {
    it = it->first.Picture == owner ? Asked.erase(it) : std::next(it);
  }
}

// The frame composer: records each frame's draws, redraws only the areas where they differ from
// the frame on screen into a kept copy of it, and shows that copy only when it changed.
//
// Why this gives the same pixels as drawing every frame whole: the kept frame always equals the
// whole drawing of the draws that made it. A pixel outside every changed draw is touched by the
// same draws, in the same order and with the same state, in both frames, so it keeps its colour.
// Inside a changed area everything is drawn again from black, clipped to the area. Clipping only
// changes pixels when it cuts through a scaled or mirrored copy (the software renderer then picks
// its source pixels a little differently), so an area grows until it holds such copies whole.
#include "platform/compositor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/headless.h"
#include "platform/internal.h"

namespace {

static_assert(sizeof(DrawCommand) % 8 == 0, "draws are compared byte for byte");

std::vector<DrawCommand> Pending;    // this frame's draws so far
std::vector<DrawCommand> Composed;   // the draws that made the kept frame
// A read in the middle of a frame sees the frame on screen with everything drawn since on top,
// as a back buffer that keeps its pixels would show it; the first Composed_Prefix pending draws
// are in the kept frame then, which no longer equals the whole drawing of any record until the
// end of the frame draws it whole.
size_t Composed_Prefix = 0;
bool Target_Overdrawn = false;
bool Output_Check_Due = true;        // the window may have changed size since the last look
std::vector<SDL_Texture*> Retired;
SDL_Texture* Target = nullptr;
int Target_W = 0, Target_H = 0;
bool Target_Blank = true;            // the kept frame holds nothing yet: draw everything
bool Screen_Stale = true;            // the window lost its pixels: show the kept frame again
bool Changed_Since_Present = false;
bool Full_Redraw = false;
FrameComposition Stats;
uint64_t Texture_Versions = 0;

// Far outside any window, yet safe to turn into an int.
int ToPixel(float v, bool up) {
  double d = up ? std::ceil(double(v)) : std::floor(double(v));
  if (!(d > -1e7)) return -10000000;
  if (d > 1e7) return 10000000;
  return int(d);
}

bool Empty(const SDL_Rect& r) { return r.w <= 0 || r.h <= 0; }

SDL_Rect Intersection(const SDL_Rect& a, const SDL_Rect& b) {
  int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
  if (x1 <= x0 || y1 <= y0) return {0, 0, 0, 0};
  return {x0, y0, x1 - x0, y1 - y0};
}

SDL_Rect Union(const SDL_Rect& a, const SDL_Rect& b) {
  int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
  return {x0, y0, x1 - x0, y1 - y0};
}

bool Overlap(const SDL_Rect& a, const SDL_Rect& b) { return !Empty(Intersection(a, b)); }

bool Contains(const SDL_Rect& outer, const SDL_Rect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

// Every pixel the draw may touch, with a pixel to spare for rounding and filtering.
SDL_Rect Bounds(const DrawCommand& c) {
  int x0 = ToPixel(c.Dst.x, false) - 1, y0 = ToPixel(c.Dst.y, false) - 1;
  int x1 = ToPixel(c.Dst.x + c.Dst.w, true) + 1, y1 = ToPixel(c.Dst.y + c.Dst.h, true) + 1;
  SDL_Rect r = {x0, y0, x1 - x0, y1 - y0};
  if (c.Clip.w >= 0) r = Intersection(r, c.Clip);
  return Intersection(r, {0, 0, Target_W, Target_H});
}

bool Same(const DrawCommand& a, const DrawCommand& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The areas to draw again: a few rectangles, merged where they meet.
class DirtyArea {
 public:
  std::vector<SDL_Rect> Rects;

  void Add(SDL_Rect r) {
    if (Empty(r)) return;
    for (size_t k = 0; k < Rects.size();) {
      if (Overlap(Rects[k], r)) {
        r = Union(Rects[k], r);
        Rects.erase(Rects.begin() + long(k));
        k = 0;
      } else {
        k++;
      }
    }
    Rects.push_back(r);
    // Many small areas cost more in passes over the draws than one larger area in pixels.
    if (Rects.size() > 12) {
      SDL_Rect all = Rects[0];
      for (const SDL_Rect& e : Rects) all = Union(all, e);
      Rects.assign(1, all);
    }
  }

  bool Touches(const SDL_Rect& r) const {
    for (const SDL_Rect& e : Rects) {
      if (Overlap(e, r)) return true;
    }
    return false;
  }

  bool Covers(const SDL_Rect& r) const {
    for (const SDL_Rect& e : Rects) {
      if (Contains(e, r)) return true;
    }
    return false;
  }
};

// Lines the two frames' draws up in order; a draw without a partner in the other frame marks
// its area. Frames mostly differ by a few draws replaced, added or dropped, so a short look
// ahead on both sides finds the partners again.
void MarkDifferences(const std::vector<DrawCommand>& a, const std::vector<DrawCommand>& b,
                     DirtyArea* dirty) {
  constexpr size_t Look_Ahead = 48;
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (Same(a[i], b[j])) {
      i++;
      j++;
      continue;
    }
    size_t skip_a = 0, skip_b = 0;
    for (size_t d = 1; d <= Look_Ahead && i + d < a.size(); d++) {
      if (Same(a[i + d], b[j])) {
        skip_a = d;
        break;
      }
    }
    for (size_t d = 1; d <= Look_Ahead && j + d < b.size(); d++) {
      if (Same(a[i], b[j + d])) {
        skip_b = d;
        break;
      }
    }
    if (skip_a != 0 && (skip_b == 0 || skip_a <= skip_b)) {
      for (size_t k = 0; k < skip_a; k++) dirty->Add(Bounds(a[i + k]));
      i += skip_a;
    } else if (skip_b != 0) {
      for (size_t k = 0; k < skip_b; k++) dirty->Add(Bounds(b[j + k]));
      j += skip_b;
    } else {
      dirty->Add(Bounds(a[i++]));
      dirty->Add(Bounds(b[j++]));
    }
  }
  for (; i < a.size(); i++) dirty->Add(Bounds(a[i]));
  for (; j < b.size(); j++) dirty->Add(Bounds(b[j]));
}

// A scaled or mirrored copy cut by an area's edge would pick other source pixels than when drawn
// whole, so the area takes it in whole.
void TakeInWholeCopies(const std::vector<DrawCommand>& draws, DirtyArea* dirty) {
  for (bool grew = true; grew;) {
    grew = false;
    for (const DrawCommand& c : draws) {
      if (c.Exact) continue;
      SDL_Rect b = Bounds(c);
      if (Empty(b) || !dirty->Touches(b) || dirty->Covers(b)) continue;
      dirty->Add(b);
      grew = true;
    }
  }
}

void Draw(const DrawCommand& c) {
  if (!c.Texture) {
    SDL_SetRenderDrawBlendMode(Renderer, SDL_BlendMode(c.Blend));
    SDL_SetRenderDrawColor(Renderer, c.R, c.G, c.B, c.A);
    SDL_RenderFillRectF(Renderer, &c.Dst);
    return;
  }
  SDL_SetTextureColorMod(c.Texture, c.R, c.G, c.B);
  SDL_SetTextureAlphaMod(c.Texture, c.A);
  SDL_SetTextureBlendMode(c.Texture, SDL_BlendMode(c.Blend));
  SDL_SetTextureScaleMode(c.Texture, c.Linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  const SDL_Rect* src = c.Src.w > 0 ? &c.Src : nullptr;
  if (c.Flip == SDL_FLIP_NONE) {
    SDL_RenderCopyF(Renderer, c.Texture, src, &c.Dst);
  } else {
    SDL_RenderCopyExF(Renderer, c.Texture, src, &c.Dst, 0, nullptr, SDL_RendererFlip(c.Flip));
  }
}

int Replay(const std::vector<DrawCommand>& draws, const SDL_Rect& area) {
  SDL_RenderSetClipRect(Renderer, &area);
  SDL_SetRenderDrawBlendMode(Renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderFillRect(Renderer, &area);
  int replayed = 0;
  SDL_Rect clip = area;
  for (const DrawCommand& c : draws) {
    SDL_Rect b = Bounds(c);
    if (!Overlap(b, area)) continue;
    SDL_Rect wanted = c.Clip.w >= 0 ? Intersection(c.Clip, area) : area;
    if (Empty(wanted)) continue;
    if (wanted.x != clip.x || wanted.y != clip.y || wanted.w != clip.w || wanted.h != clip.h) {
      clip = wanted;
      SDL_RenderSetClipRect(Renderer, &clip);
    }
    Draw(c);
    replayed++;
  }
  return replayed;
}

// The kept frame, (re)made at the renderer's output size; a new one is blank.
bool EnsureTarget() {
  if (!Renderer) return false;
  if (Target && !Output_Check_Due) return true;
  Output_Check_Due = false;
  if (Target) SDL_SetRenderTarget(Renderer, nullptr);
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(Renderer, &w, &h) != 0 || w <= 0 || h <= 0) return false;
  if (Target && (w != Target_W || h != Target_H)) {
    SDL_DestroyTexture(Target);
    Target = nullptr;
  }
  if (!Target) {
    // The window's own format when it has no alpha, so keeping and showing the frame are plain
    // copies of rows.
    Uint32 format = Window ? SDL_GetWindowPixelFormat(Window) : Uint32(SDL_PIXELFORMAT_UNKNOWN);
    if (format == SDL_PIXELFORMAT_UNKNOWN || SDL_ISPIXELFORMAT_ALPHA(format) || SDL_BYTESPERPIXEL(format) != 4) {
      format = SDL_PIXELFORMAT_ARGB8888;
    }
    Target = SDL_CreateTexture(Renderer, format, SDL_TEXTUREACCESS_TARGET, w, h);
    if (!Target) Target = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
    if (!Target) return false;
    Target_W = w;
    Target_H = h;
    Target_Blank = true;
    Screen_Stale = true;
    SDL_SetRenderTarget(Renderer, Target);
    SDL_RenderSetClipRect(Renderer, nullptr);
    SDL_SetRenderDrawBlendMode(Renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
  }
  SDL_SetRenderTarget(Renderer, Target);
  return true;
}

// Brings the kept frame up to date with the pending draws; at the end of a frame the pending
// draws become the frame's record without a copy.
void EndFrame() {
  if (!EnsureTarget()) return;
  DirtyArea dirty;
  if (Target_Blank || Target_Overdrawn || Full_Redraw) {
    dirty.Add({0, 0, Target_W, Target_H});
  } else {
    MarkDifferences(Composed, Pending, &dirty);
    TakeInWholeCopies(Pending, &dirty);
  }
  for (const SDL_Rect& area : dirty.Rects) {
    Stats.Replayed += Replay(Pending, area);
    Stats.Dirty_Pixels += int64_t(area.w) * area.h;
  }
  if (!dirty.Rects.empty()) {
    SDL_RenderSetClipRect(Renderer, nullptr);
    Changed_Since_Present = true;
  }
  Target_Blank = Target_Overdrawn = false;
  Composed.swap(Pending);
  Pending.clear();
  Composed_Prefix = 0;
}

void DrawOnTop() {
  if (!EnsureTarget()) return;
  if (Composed_Prefix == Pending.size() && !Target_Blank) return;
  if (Target_Blank) {
    Replay(Pending, {0, 0, Target_W, Target_H});
    Target_Blank = false;
  } else {
    // The test driver's copy of the frame on screen is taken before it is drawn over.
    KeepFrameCopy();
    for (size_t k = Composed_Prefix; k < Pending.size(); k++) {
      const DrawCommand& c = Pending[k];
      if (c.Clip.w >= 0) {
        SDL_RenderSetClipRect(Renderer, &c.Clip);
      } else {
        SDL_RenderSetClipRect(Renderer, nullptr);
      }
      Draw(c);
    }
    Target_Overdrawn = true;
  }
  SDL_RenderSetClipRect(Renderer, nullptr);
  Changed_Since_Present = true;
  Composed_Prefix = Pending.size();
}

void DestroyRetired() {
  for (SDL_Texture* t : Retired) SDL_DestroyTexture(t);
  Retired.clear();
}

}  // namespace

uint64_t NextTextureVersion() { return ++Texture_Versions; }

void RecordDraw(const DrawCommand& command) { Pending.push_back(command); }

void ComposePending() {
  // Reads come pixel by pixel in tests; with nothing drawn since the last one, nothing to do.
  if (Target && !Target_Blank && !Output_Check_Due && Composed_Prefix == Pending.size()) return;
  DrawOnTop();
}

bool PresentComposedFrame() {
  if (!Renderer) return false;
  Stats = FrameComposition();
  Stats.Commands = int(Pending.size());
  Output_Check_Due = true;
  Uint32 flags = Window ? SDL_GetWindowFlags(Window) : 0;
  if (flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) {
    // Nobody sees it: nothing is drawn. The kept frame and its record stay as they were, so the
    // frame after the window returns is compared with what the kept frame really holds.
    Pending.clear();
    Composed_Prefix = 0;
    DestroyRetired();
    Screen_Stale = true;
    return false;
  }
  EndFrame();
  bool show = Changed_Since_Present || Screen_Stale || Full_Redraw;
  if (show && Target) {
    SDL_SetRenderTarget(Renderer, nullptr);
    SDL_RenderSetClipRect(Renderer, nullptr);
    SDL_SetTextureBlendMode(Target, SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(Target, 255, 255, 255);
    SDL_SetTextureAlphaMod(Target, 255);
    SDL_RenderCopy(Renderer, Target, nullptr, nullptr);
    SDL_RenderPresent(Renderer);
    SDL_SetRenderTarget(Renderer, Target);
    Changed_Since_Present = false;
    Screen_Stale = false;
  }
  DestroyRetired();
  Stats.Presented = show;
  return show;
}

SDL_Texture* ComposedFrame() {
  EnsureTarget();
  return Target;
}

void RetireTexture(SDL_Texture* texture) {
  if (!texture) return;
  // A texture drawn earlier in this frame is still needed when the frame is composed.
  if (Pending.empty()) {
    SDL_DestroyTexture(texture);
  } else {
    Retired.push_back(texture);
  }
}

void ResetComposer() {
  if (Target && Renderer) SDL_SetRenderTarget(Renderer, nullptr);
  if (Target) SDL_DestroyTexture(Target);
  Target = nullptr;
  Target_Blank = true;
  Screen_Stale = true;
  Output_Check_Due = true;
  Composed.clear();
  Composed_Prefix = 0;
}

void InvalidateScreen() {
  Screen_Stale = true;
  Output_Check_Due = true;
}

void DropComposer() {
  Target = nullptr;   // went with its renderer
  Target_Blank = true;
  Screen_Stale = true;
  Output_Check_Due = true;
  Composed.clear();
  Pending.clear();
  Composed_Prefix = 0;
  Retired.clear();
}

FrameComposition LastFrameComposition() { return Stats; }

void SetFullFrameRedraw(int on) { Full_Redraw = on != 0; }

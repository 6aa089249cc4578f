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
#include <climits>
#include <cstdint>
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
// Textures let go of: destroyed a frame later, so the record of the frame on screen never names
// a destroyed texture.
std::vector<SDL_Texture*> Retired, Retired_Before;
std::vector<SDL_Rect> Pending_Bounds;   // Bounds of each pending draw, worked out once per frame
// A base layer holds the whole drawing of a frame's first draws (its backdrop), so a changed
// area of the frame starts from a copy of it and draws again only what lies above. Two are
// kept, so a board that flashes between two looks has one ready for each.
struct BaseLayer {
  SDL_Texture* Texture = nullptr;
  std::vector<DrawCommand> Draws;
  uint64_t Last_Used = 0;
};
BaseLayer Bases[2];
SDL_Texture* Base = nullptr;   // the base layer under this frame's replays
uint64_t Frame_Number = 0;
size_t Backdrop_End = 0;           // draws before this frame's backdrop mark
size_t Last_Common_Prefix = 0;
constexpr size_t Least_Base_Draws = 8;
constexpr size_t Most_Areas = 24;
constexpr size_t Most_Pieces = 96;
SDL_Texture* Target = nullptr;       // the kept frame, unless it is the window itself
bool Kept_Ready = false;
bool Direct = false;                 // the kept frame is the window's own pixels
bool Force_Texture = false;
std::vector<SDL_Rect> Shown_Areas;   // what changed on screen since the last present
bool Show_Whole = false;
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

inline bool Empty(const SDL_Rect& r) { return r.w <= 0 || r.h <= 0; }

inline SDL_Rect Intersection(const SDL_Rect& a, const SDL_Rect& b) {
  int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
  if (x1 <= x0 || y1 <= y0) return {0, 0, 0, 0};
  return {x0, y0, x1 - x0, y1 - y0};
}

inline SDL_Rect Union(const SDL_Rect& a, const SDL_Rect& b) {
  int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
  return {x0, y0, x1 - x0, y1 - y0};
}

inline bool Overlap(const SDL_Rect& a, const SDL_Rect& b) { return !Empty(Intersection(a, b)); }

inline int64_t Area(const SDL_Rect& r) { return int64_t(r.w) * r.h; }

inline bool Contains(const SDL_Rect& outer, const SDL_Rect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

// Two rectangles are worth joining when their union holds little beyond the two: at most an
// eighth of it.
bool WorthJoining(const SDL_Rect& a, const SDL_Rect& b) {
  SDL_Rect joined = Union(a, b);
  return (Area(joined) - Area(a) - Area(b) + Area(Intersection(a, b))) * 8 <= Area(joined);
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

// The areas to draw again: a few rectangles. Areas may overlap: each is drawn again whole from
// the same draws, so a pixel in two of them gets the same colour twice.
class DirtyArea {
 public:
  std::vector<SDL_Rect> Rects;

  void Add(SDL_Rect r) {
    if (Empty(r)) return;
    // Two areas are joined when their union costs little more than drawing both; joining
    // overlapping areas regardless would let an L of blocks or a trail of sparkles grow into
    // their bounding box, and that box into its neighbours, until the whole board is redrawn.
    for (size_t k = 0; k < Rects.size();) {
      const SDL_Rect& a = Rects[k];
      if (Contains(a, r)) return;
      if (Contains(r, a) || WorthJoining(a, r)) {
        r = Union(a, r);
        Rects[k] = Rects.back();
        Rects.pop_back();
        k = 0;
      } else {
        k++;
      }
    }
    // Each area costs a pass over the frame's draws, so once there are a few, a new one joins
    // the area whose union with it wastes the fewest pixels. A busy frame adds hundreds of
    // areas, so this looks at each area once rather than at every pair.
    if (Rects.size() >= Most_Areas) {
      size_t best = 0;
      int64_t least = INT64_MAX;
      for (size_t k = 0; k < Rects.size(); k++) {
        int64_t waste = Waste(Rects[k], r);
        if (waste < least) {
          least = waste;
          best = k;
        }
      }
      SDL_Rect joined = Union(Rects[best], r);
      Rects[best] = Rects.back();
      Rects.pop_back();
      Add(joined);
      return;
    }
    Rects.push_back(r);
  }

  // Cuts the areas into pieces that do not overlap, so that no pixel is drawn twice; a busy
  // frame's areas overlap by a third. Returns false, leaving the areas as they were, when
  // there would be too many pieces.
  bool CutApart() {
    std::vector<SDL_Rect> pieces, cut;
    for (const SDL_Rect& area : Rects) {
      cut.assign(1, area);
      for (const SDL_Rect& taken : pieces) {
        size_t n = cut.size();
        for (size_t k = 0; k < n; k++) {
          if (!Overlap(cut[k], taken)) continue;
          SDL_Rect whole = cut[k];   // cut grows below
          cut[k] = {0, 0, 0, 0};
          Subtract(whole, taken, &cut);
        }
      }
      for (const SDL_Rect& c : cut) {
        if (!Empty(c)) pieces.push_back(c);
      }
      if (pieces.size() > Most_Pieces) return false;
    }
    Rects.swap(pieces);
    return true;
  }

  // Grows every area that cuts `r` to hold it whole; true when one grew.
  bool TakeInWhole(const SDL_Rect& r) {
    for (size_t k = 0; k < Rects.size(); k++) {
      if (Overlap(Rects[k], r) && !Contains(Rects[k], r)) {
        SDL_Rect grown = Union(Rects[k], r);
        Rects[k] = Rects.back();
        Rects.pop_back();
        Add(grown);
        return true;
      }
    }
    return false;
  }

 private:
  // The parts of `a` outside `b` (which overlaps it), appended: the bands above and below `b`,
  // and the parts left and right of it between them.
  static void Subtract(const SDL_Rect& a, const SDL_Rect& b, std::vector<SDL_Rect>* out) {
    int top = std::max(a.y, b.y), bottom = std::min(a.y + a.h, b.y + b.h);
    if (a.y < top) out->push_back({a.x, a.y, a.w, top - a.y});
    if (bottom < a.y + a.h) out->push_back({a.x, bottom, a.w, a.y + a.h - bottom});
    if (a.x < b.x) out->push_back({a.x, top, b.x - a.x, bottom - top});
    if (b.x + b.w < a.x + a.w) out->push_back({b.x + b.w, top, a.x + a.w - (b.x + b.w), bottom - top});
  }

  // Pixels the union of two areas holds beyond the two.
  static int64_t Waste(const SDL_Rect& a, const SDL_Rect& b) {
    return Area(Union(a, b)) - Area(a) - Area(b) + Area(Intersection(a, b));
  }
};

uint64_t HashOf(const DrawCommand& c) {
  uint64_t words[sizeof c / 8];
  std::memcpy(words, &c, sizeof c);
  uint64_t h = 0x9e3779b97f4a7c15ull;
  for (uint64_t w : words) h = (h ^ w) * 0xff51afd7ed558ccdull;
  return h ^ (h >> 29);
}

// Where each draw of a list stands, by the draw's hash, to find the next place a draw comes
// again after a given position: a table of each hash's first place, and from every place the
// next with the same hash. Made in one pass, as a busy frame needs it every time.
class DrawIndex {
 public:
  void Build(const uint64_t* hashes, size_t size) {
    size_t capacity = 64;
    while (capacity < size * 2) capacity <<= 1;
    Mask = capacity - 1;
    Hashes = hashes;
    First.assign(capacity, 0);
    Next.assign(size, SIZE_MAX);
    // From the end backwards, so a hash's slot ends at its first place and each place points on
    // to the next.
    for (size_t k = size; k-- > 0;) {
      size_t slot = Slot(hashes[k]);
      if (First[slot] != 0) Next[k] = First[slot] - 1;
      First[slot] = k + 1;
    }
  }
  // The first position after `from` holding a draw with this hash; SIZE_MAX when there is none.
  size_t NextAfter(uint64_t hash, size_t from) const {
    size_t at = First[Slot(hash)];
    size_t k = at == 0 ? SIZE_MAX : at - 1;
    while (k != SIZE_MAX && k <= from) k = Next[k];
    return k;
  }

 private:
  // The slot holding this hash's first place, or the empty slot where it would go.
  size_t Slot(uint64_t hash) const {
    size_t slot = size_t(hash) & Mask;
    while (First[slot] != 0 && Hashes[First[slot] - 1] != hash) slot = (slot + 1) & Mask;
    return slot;
  }
  const uint64_t* Hashes = nullptr;
  size_t Mask = 0;
  std::vector<size_t> First;   // place + 1 of each hash's first draw; 0: an empty slot
  std::vector<size_t> Next;
};
DrawIndex Index_A, Index_B;
std::vector<uint64_t> Hashes_A, Hashes_B;

void HashAll(const DrawCommand* draws, size_t size, std::vector<uint64_t>* hashes) {
  hashes->resize(size);
  for (size_t k = 0; k < size; k++) (*hashes)[k] = HashOf(draws[k]);
}

// Lines the two frames' draws up in order; a draw without a partner in the other frame marks
// its area. Where they part, the side whose next partner lies nearer is skipped: frames mostly
// differ by a few draws replaced, added or dropped, and a colour's blocks, drawn one after
// another, vanish together when it bursts.
void MarkDifferences(const DrawCommand* a, size_t a_size, const DrawCommand* b, size_t b_size,
                     DirtyArea* dirty) {
  constexpr size_t Near = 8;   // most partners are this close; the indexes find the rest
  // Draws are told apart by their hashes first: a busy frame parts from the one before at
  // hundreds of places, each looked up to 16 draws ahead.
  HashAll(a, a_size, &Hashes_A);
  HashAll(b, b_size, &Hashes_B);
  const uint64_t* ha = Hashes_A.data();
  const uint64_t* hb = Hashes_B.data();
  auto same = [&](size_t x, size_t y) { return ha[x] == hb[y] && Same(a[x], b[y]); };
  // Differences come in runs of neighbours (a block's four quarters, a piece where it was and
  // where it is now), gathered here while their union wastes little, so the areas see a
  // handful of rectangles instead of every draw.
  SDL_Rect run = {0, 0, 0, 0};
  auto mark = [&](const SDL_Rect& r) {
    if (Empty(r)) return;
    if (Empty(run)) {
      run = r;
      return;
    }
    if (WorthJoining(run, r)) {
      run = Union(run, r);
    } else {
      dirty->Add(run);
      run = r;
    }
  };
  bool indexed = false;
  size_t i = 0, j = 0;
  while (i < a_size && j < b_size) {
    if (same(i, j)) {
      i++;
      j++;
      continue;
    }
    size_t skip_a = 0, skip_b = 0;
    for (size_t d = 1; d <= Near && i + d < a_size && skip_a == 0; d++) {
      if (same(i + d, j)) skip_a = d;
    }
    for (size_t d = 1; d <= Near && j + d < b_size && skip_b == 0; d++) {
      if (same(i, j + d)) skip_b = d;
    }
    if (skip_a == 0 && skip_b == 0) {
      if (!indexed) {
        Index_A.Build(ha, a_size);
        Index_B.Build(hb, b_size);
        indexed = true;
      }
      size_t next_a = Index_A.NextAfter(hb[j], i);   // b[j] comes again in a
      size_t next_b = Index_B.NextAfter(ha[i], j);   // a[i] comes again in b
      while (next_a != SIZE_MAX && !same(next_a, j)) next_a = Index_A.NextAfter(hb[j], next_a);
      while (next_b != SIZE_MAX && !same(i, next_b)) next_b = Index_B.NextAfter(ha[i], next_b);
      skip_a = next_a == SIZE_MAX ? 0 : next_a - i;
      skip_b = next_b == SIZE_MAX ? 0 : next_b - j;
    }
    if (skip_a != 0 && (skip_b == 0 || skip_a <= skip_b)) {
      for (size_t k = 0; k < skip_a; k++) mark(Bounds(a[i + k]));
      i += skip_a;
    } else if (skip_b != 0) {
      for (size_t k = 0; k < skip_b; k++) mark(Bounds(b[j + k]));
      j += skip_b;
    } else {
      mark(Bounds(a[i++]));
      mark(Bounds(b[j++]));
    }
  }
  for (; i < a_size; i++) mark(Bounds(a[i]));
  for (; j < b_size; j++) mark(Bounds(b[j]));
  dirty->Add(run);
}

// A scaled or mirrored copy cut by an area's edge would pick other source pixels than when drawn
// whole, so the area takes it in whole.
void TakeInWholeCopies(size_t first, size_t end, DirtyArea* dirty) {
  for (bool grew = true; grew;) {
    grew = false;
    for (size_t k = first; k < end; k++) {
      if (Pending[k].Exact || Empty(Pending_Bounds[k])) continue;
      while (dirty->TakeInWhole(Pending_Bounds[k])) grew = true;
    }
  }
}

// Cuts the areas apart unless a piece's edge would cut through a copy that must be drawn whole.
void CutApartKeepingCopiesWhole(size_t first, size_t end, DirtyArea* dirty) {
  std::vector<SDL_Rect> before = dirty->Rects;
  if (!dirty->CutApart()) return;
  for (size_t k = first; k < end; k++) {
    if (Pending[k].Exact || Empty(Pending_Bounds[k])) continue;
    for (const SDL_Rect& piece : dirty->Rects) {
      if (Overlap(piece, Pending_Bounds[k]) && !Contains(piece, Pending_Bounds[k])) {
        dirty->Rects.swap(before);
        return;
      }
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

// Draws the pending draws from `first` to `end` again over `area`, on top of the base layer
// when it holds the draws before `first`, on black otherwise.
int Replay(size_t first, size_t end, const SDL_Rect& area) {
  SDL_RenderSetClipRect(Renderer, &area);
  if (first > 0) {
    SDL_SetTextureBlendMode(Base, SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(Base, 255, 255, 255);
    SDL_SetTextureAlphaMod(Base, 255);
    SDL_RenderCopy(Renderer, Base, &area, &area);
  } else {
    SDL_SetRenderDrawBlendMode(Renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderFillRect(Renderer, &area);
  }
  int replayed = 0;
  SDL_Rect clip = area;
  for (size_t k = first; k < end; k++) {
    const DrawCommand& c = Pending[k];
    if (!Overlap(Pending_Bounds[k], area)) continue;
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

// The window's own format when it has no alpha, so that keeping the frame, copying a base layer
// into it and showing it are plain copies of rows; a copy that converts pixels costs ten times
// as much, and a busy frame copies most of the window from its base layer.
Uint32 FrameFormat() {
  Uint32 format = Window ? SDL_GetWindowPixelFormat(Window) : Uint32(SDL_PIXELFORMAT_UNKNOWN);
  if (format == SDL_PIXELFORMAT_UNKNOWN || SDL_ISPIXELFORMAT_ALPHA(format) || SDL_BYTESPERPIXEL(format) != 4) {
    format = SDL_PIXELFORMAT_ARGB8888;
  }
  return format;
}

void DropBases() {
  for (BaseLayer& b : Bases) {
    if (b.Texture) SDL_DestroyTexture(b.Texture);
    b = BaseLayer();
  }
  Base = nullptr;
}

bool Holds(const BaseLayer& b, size_t count, bool exactly) {
  if (!b.Texture || b.Draws.empty() || b.Draws.size() > count || (exactly && b.Draws.size() != count)) return false;
  return std::memcmp(b.Draws.data(), Pending.data(), b.Draws.size() * sizeof(DrawCommand)) == 0;
}

int64_t DirtyPixels(const DirtyArea& dirty) {
  int64_t n = 0;
  for (const SDL_Rect& r : dirty.Rects) n += Area(r);
  return n;
}

// Brings `layer` up to the frame's first `count` draws, starting from what `from` holds and
// drawing again only where the draws differ; false when there is no base layer to be had.
bool UpdateBase(BaseLayer* layer, const BaseLayer& from, size_t count) {
  if (!layer->Texture) {
    layer->Texture = SDL_CreateTexture(Renderer, FrameFormat(), SDL_TEXTUREACCESS_TARGET, Target_W, Target_H);
    if (!layer->Texture) {
      layer->Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, Target_W, Target_H);
    }
    if (!layer->Texture) return false;
    layer->Draws.clear();
  }
  DirtyArea dirty;
  SDL_SetRenderTarget(Renderer, layer->Texture);
  SDL_RenderSetClipRect(Renderer, nullptr);
  if (&from != layer && from.Texture && !from.Draws.empty()) {
    SDL_SetTextureBlendMode(from.Texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(from.Texture, 255, 255, 255);
    SDL_SetTextureAlphaMod(from.Texture, 255);
    if (layer->Draws.empty()) {
      SDL_RenderCopy(Renderer, from.Texture, nullptr, nullptr);
    } else {
      // Where the two layers' draws agree their pixels agree already, so only the areas of the
      // draws they differ by are copied; a board a colour at a time emptier differs from the
      // look before it by that colour's blocks.
      DirtyArea apart;
      MarkDifferences(layer->Draws.data(), layer->Draws.size(), from.Draws.data(), from.Draws.size(), &apart);
      for (const SDL_Rect& area : apart.Rects) SDL_RenderCopy(Renderer, from.Texture, &area, &area);
    }
    layer->Draws = from.Draws;
  }
  if (layer->Draws.empty()) {
    dirty.Add({0, 0, Target_W, Target_H});
  } else {
    MarkDifferences(layer->Draws.data(), layer->Draws.size(), Pending.data(), count, &dirty);
    TakeInWholeCopies(0, count, &dirty);
    CutApartKeepingCopiesWhole(0, count, &dirty);
  }
  for (const SDL_Rect& area : dirty.Rects) Replay(0, count, area);
  SDL_RenderSetClipRect(Renderer, nullptr);
  SDL_SetRenderTarget(Renderer, Target);
  layer->Draws.assign(Pending.begin(), Pending.begin() + long(count));
  return true;
}

int64_t Distance(const BaseLayer& b, size_t count) {
  if (!b.Texture || b.Draws.empty()) return INT64_MAX;
  DirtyArea dirty;
  MarkDifferences(b.Draws.data(), b.Draws.size(), Pending.data(), count, &dirty);
  return DirtyPixels(dirty);
}

// The board's backdrop (background and blocks) seldom changes, so it is kept in a base layer:
// the one that holds it already, or else the one used least lately, brought up to date where
// it differs. Frames without a backdrop (the level map, the language screen) keep the leading
// draws that stayed the same over the last three frames, so frames whose early draws change
// every time never pay for a layer they cannot use.
// Returns how many leading draws the base layer holds for this frame (0: none is used).
size_t UseBaseLayer(size_t common_prefix) {
  Base = nullptr;
  Frame_Number++;
  size_t steady = std::min(common_prefix, Last_Common_Prefix);
  Last_Common_Prefix = common_prefix;
  bool backdrop = Backdrop_End >= Least_Base_Draws;
  for (BaseLayer& b : Bases) {
    if (Holds(b, backdrop ? Backdrop_End : Pending.size(), backdrop)) {
      b.Last_Used = Frame_Number;
      Base = b.Texture;
      return b.Draws.size();
    }
  }
  size_t count = backdrop ? Backdrop_End : steady;
  if (count < Least_Base_Draws) return 0;
  // The layer used least lately takes the new backdrop, so the other keeps the look just seen,
  // which may come back (a flashing colour); it starts from whichever layer is nearer to it.
  bool first_older = Bases[0].Last_Used <= Bases[1].Last_Used;
  BaseLayer& layer = first_older ? Bases[0] : Bases[1];
  const BaseLayer& other = first_older ? Bases[1] : Bases[0];
  if (!backdrop) layer.Draws.clear();   // leading draws of another kind of frame: drawn whole
  const BaseLayer& from = backdrop && Distance(other, count) < Distance(layer, count) ? other : layer;
  if (!UpdateBase(&layer, from, count)) return 0;
  layer.Last_Used = Frame_Number;
  Base = layer.Texture;
  return count;
}

// The kept frame, (re)made at the renderer's output size; a new one is blank. With the software
// renderer it is the window's own pixels, which stay put between frames and can be shown a
// rectangle at a time; an accelerated renderer's window may lose its pixels at every present, so
// there the frame is kept in a texture and copied whole to the window.
bool EnsureTarget() {
  if (!Renderer) return false;
  if (Kept_Ready && !Output_Check_Due) return true;
  Output_Check_Due = false;
  SDL_SetRenderTarget(Renderer, nullptr);
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(Renderer, &w, &h) != 0 || w <= 0 || h <= 0) return false;
  bool direct = Window && SoftwareRenderer() && !Force_Texture;
  if (Kept_Ready && (w != Target_W || h != Target_H || direct != Direct)) {
    if (Target) SDL_DestroyTexture(Target);
    Target = nullptr;
    DropBases();
    Kept_Ready = false;
  }
  if (!Kept_Ready) {
    if (!direct) {
      Target = SDL_CreateTexture(Renderer, FrameFormat(), SDL_TEXTUREACCESS_TARGET, w, h);
      if (!Target) Target = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
      if (!Target) return false;
    }
    Direct = direct;
    Kept_Ready = true;
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
void PendingBounds() {
  Pending_Bounds.resize(Pending.size());
  for (size_t k = 0; k < Pending.size(); k++) Pending_Bounds[k] = Bounds(Pending[k]);
}

void EndFrame() {
  if (!EnsureTarget()) return;
  PendingBounds();
  DirtyArea dirty;
  size_t first = 0;
  if (Target_Blank || Target_Overdrawn || Full_Redraw) {
    dirty.Add({0, 0, Target_W, Target_H});
  } else {
    size_t n = 0;
    while (n < Composed.size() && n < Pending.size() && Same(Composed[n], Pending[n])) n++;
    Stats.Common_Prefix = int(n);
    MarkDifferences(Composed.data(), Composed.size(), Pending.data(), Pending.size(), &dirty);
    if (!dirty.Rects.empty()) {
      first = UseBaseLayer(n);
      // Draws inside the base layer were drawn whole there.
      TakeInWholeCopies(first, Pending.size(), &dirty);
      CutApartKeepingCopiesWhole(first, Pending.size(), &dirty);
    }
  }
  for (const SDL_Rect& area : dirty.Rects) {
    Stats.Replayed += Replay(first, Pending.size(), area);
    Stats.Dirty_Pixels += int64_t(area.w) * area.h;
    Shown_Areas.push_back(area);
  }
  if (!dirty.Rects.empty()) {
    SDL_RenderSetClipRect(Renderer, nullptr);
    Changed_Since_Present = true;
  }
  Target_Blank = Target_Overdrawn = false;
  Composed.swap(Pending);
  Pending.clear();
  Composed_Prefix = 0;
  Backdrop_End = 0;
}

void DrawOnTop() {
  if (!EnsureTarget()) return;
  if (Composed_Prefix == Pending.size() && !Target_Blank) return;
  if (Target_Blank) {
    PendingBounds();
    Replay(0, Pending.size(), {0, 0, Target_W, Target_H});
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
  Show_Whole = true;
  Composed_Prefix = Pending.size();
}

void DestroyRetired() {
  for (SDL_Texture* t : Retired_Before) SDL_DestroyTexture(t);
  Retired_Before.swap(Retired);
  Retired.clear();
}

bool ReadKeptFrame(SDL_Texture* from, std::vector<uint32_t>* pixels) {
  pixels->assign(size_t(Target_W) * size_t(Target_H), 0);
  SDL_SetRenderTarget(Renderer, from);
  bool ok = SDL_RenderReadPixels(Renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels->data(), Target_W * 4) == 0;
  for (uint32_t& p : *pixels) p &= 0xFFFFFF;
  return ok;
}

}  // namespace

uint64_t NextTextureVersion() { return ++Texture_Versions; }

void RecordDraw(const DrawCommand& command) { Pending.push_back(command); }

void MarkBackdrop() { Backdrop_End = Pending.size(); }

void ComposePending() {
  // Reads come pixel by pixel in tests; with nothing drawn since the last one, nothing to do.
  if (Kept_Ready && !Target_Blank && !Output_Check_Due && Composed_Prefix == Pending.size()) return;
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
  if (show && Kept_Ready) {
    if (Direct) {
      // Only the rectangles that changed travel to the screen.
      SDL_RenderFlush(Renderer);
      if (Screen_Stale || Show_Whole || Full_Redraw || Shown_Areas.empty()) {
        SDL_UpdateWindowSurface(Window);
      } else {
        SDL_UpdateWindowSurfaceRects(Window, Shown_Areas.data(), int(Shown_Areas.size()));
      }
    } else {
      SDL_SetRenderTarget(Renderer, nullptr);
      SDL_RenderSetClipRect(Renderer, nullptr);
      SDL_SetTextureBlendMode(Target, SDL_BLENDMODE_NONE);
      SDL_SetTextureColorMod(Target, 255, 255, 255);
      SDL_SetTextureAlphaMod(Target, 255);
      SDL_RenderCopy(Renderer, Target, nullptr, nullptr);
      SDL_RenderPresent(Renderer);
      SDL_SetRenderTarget(Renderer, Target);
    }
    Changed_Since_Present = false;
    Screen_Stale = false;
  }
  Shown_Areas.clear();
  Show_Whole = false;
  DestroyRetired();
  Stats.Presented = show;
  return show;
}

bool KeptFrameFormat(int* w, int* h, Uint32* format) {
  if (!EnsureTarget()) return false;
  *w = Target_W;
  *h = Target_H;
  if (Direct) {
    *format = SDL_GetWindowPixelFormat(Window);
    return true;
  }
  return SDL_QueryTexture(Target, format, nullptr, nullptr, nullptr) == 0;
}

void RetireTexture(SDL_Texture* texture) {
  if (!texture) return;
  Retired.push_back(texture);
}

void ResetComposer() {
  if (Target && Renderer) SDL_SetRenderTarget(Renderer, nullptr);
  if (Target) SDL_DestroyTexture(Target);
  Target = nullptr;
  Kept_Ready = false;
  DropBases();
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

FrameComposition LastFrameComposition() { return Stats; }

void SetFullFrameRedraw(int on) { Full_Redraw = on != 0; }

int64_t PixelsUnlikeWholeRedraw() {
  if (!Renderer || !Kept_Ready || !Pending.empty()) return -1;
  std::vector<uint32_t> shown, whole;
  if (!ReadKeptFrame(Target, &shown)) return -1;
  int w = 0, h = 0;
  Uint32 format = SDL_PIXELFORMAT_ARGB8888;
  KeptFrameFormat(&w, &h, &format);
  SDL_Texture* scratch = SDL_CreateTexture(Renderer, format, SDL_TEXTUREACCESS_TARGET, Target_W, Target_H);
  if (!scratch) return -1;
  // The shown frame's record, drawn whole from black as if nothing had been kept.
  Pending.swap(Composed);
  PendingBounds();
  SDL_SetRenderTarget(Renderer, scratch);
  Replay(0, Pending.size(), {0, 0, Target_W, Target_H});
  SDL_RenderSetClipRect(Renderer, nullptr);
  bool ok = ReadKeptFrame(scratch, &whole);
  Pending.swap(Composed);
  SDL_SetRenderTarget(Renderer, Target);
  SDL_DestroyTexture(scratch);
  if (!ok) return -1;
  int64_t differing = 0;
  for (size_t k = 0; k < shown.size(); k++) differing += shown[k] != whole[k];
  return differing;
}

void KeepFrameInTexture(int on) {
  Force_Texture = on != 0;
  Output_Check_Due = true;
}

// Pictures: PNG and JPEG files and strips, decoded at their first draw; empty grab-able images,
// textures, drawing.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/compositor.h"
#include "platform/internal.h"
#include "platform/platform.h"

namespace {

// A picture larger than this is refused before it is decoded: a few bytes of a file can claim
// billions of pixels, and the game's largest picture has under a million.
constexpr int64_t Max_Picture_Pixels = int64_t(64) << 20;
// A player's picture (a flag shared with a language file) is read whole before its header is
// looked at, so its file is capped too: a flag of the largest allowed size takes a few
// megabytes at most unless stored without compression.
constexpr size_t Max_Player_Picture_Bytes = size_t(64) << 20;

// Each side is bounded before the two are multiplied: a header's sides reach 2^32 - 1, and their
// product would overflow.
bool SizeAllowed(int64_t w, int64_t h) {
  return w > 0 && h > 0 && w <= Max_Picture_Pixels && h <= Max_Picture_Pixels && w * h <= Max_Picture_Pixels;
}

const uint8_t Png_Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(const uint8_t* data, size_t size) { return size >= 8 && std::memcmp(data, Png_Signature, 8) == 0; }

uint32_t BigEndian(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; i++) v = v << 8 | p[i];
  return v;
}

}  // namespace

bool PictureHeaderSize(const uint8_t* data, size_t size, int64_t* w, int64_t* h) {
  if (size >= 24 && IsPng(data, size)) {
    if (std::memcmp(data + 12, "IHDR", 4) != 0) return false;
    *w = BigEndian(data + 16, 4);
    *h = BigEndian(data + 20, 4);
    return true;
  }
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  // JPEG: marker segments up to the frame header (SOF0..SOF15 but DHT, JPG and DAC).
  size_t i = 2;
  while (i + 4 <= size) {
    if (data[i] != 0xFF) return false;
    while (i < size && data[i] == 0xFF) i++;   // fill bytes
    if (i + 3 > size) return false;
    uint8_t marker = data[i++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;   // no length
    if (marker == 0xD9 || marker == 0xDA) return false;   // no frame header before the image data
    size_t length = BigEndian(data + i, 2);
    if (length < 2) return false;
    bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (i + 7 > size) return false;
      *h = BigEndian(data + i + 3, 2);
      *w = BigEndian(data + i + 5, 2);
      return true;
    }
    i += length;
  }
  return false;
}

namespace {

// Every chunk of a PNG file lies inside the file, up to its end chunk. The decoder goes on
// reading through a chunk that claims more bytes than the file has (up to 2 GB, a second or
// more) and past the end of a file without its end chunk.
bool PngChunksFit(const uint8_t* data, size_t size) {
  for (size_t at = 8; at + 12 <= size;) {
    const size_t length = BigEndian(data + at, 4);
    if (length > size - at - 12) return false;
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
    at += 12 + length;
  }
  return false;
}

SDL_Surface* NewFrameSurface(int w, int h) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (s) SDL_FillRect(s, nullptr, 0);
  return s;
}

// Decodes a PNG or JPEG file's bytes in ARGB8888; pure black becomes fully transparent when
// `mask` is set. nullptr when the bytes are no such picture or one too large. Only the decoder
// its header names is used, never one guessed from the bytes: the library's other decoders
// (vector drawings among them) are no business of a flag, and more for a crafted file to get
// through.
SDL_Surface* DecodePicture(const uint8_t* data, size_t size, bool mask) {
  int64_t w = 0, h = 0;
  if (!PictureHeaderSize(data, size, &w, &h) || !SizeAllowed(w, h)) return nullptr;
  if (size > size_t(INT32_MAX) || (IsPng(data, size) && !PngChunksFit(data, size)) || !EnsureImage()) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
  if (!rw) return nullptr;
  SDL_Surface* raw = IsPng(data, size) ? IMG_LoadPNG_RW(rw) : IMG_LoadJPG_RW(rw);
  SDL_RWclose(rw);
  if (!raw) return nullptr;
  SDL_Surface* pic = SizeAllowed(raw->w, raw->h) ? SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
  SDL_FreeSurface(raw);
  if (!pic) return nullptr;
  if (mask) {
    SDL_LockSurface(pic);
    for (int y = 0; y < pic->h; y++) {
      uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pic->pixels) + size_t(y) * size_t(pic->pitch));
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
  std::array<int8_t, 16> unknown;
  unknown.fill(-2);
  img->Opaque_Insets.assign(size_t(frames), unknown);
  return img;
}

// Fills every frame that has no surface from the picture's source. False when the source no
// longer decodes; the picture is then drawn as nothing, and not decoded again at every draw.
bool DecodeFrames(Image* img) {
  if (img->Undecodable || img->Source.empty()) return false;
  const uint8_t* data = img->Source_Bytes.data();
  size_t size = img->Source_Bytes.size();
  bool embedded = false;
  SDL_Surface* pic = nullptr;
  if (!img->Source_Bytes.empty() || EmbeddedUrl(img->Source, &data, &size, &embedded)) {
    pic = DecodePicture(data, size, img->Masked);
  }
  if (pic && img->First < 0 && (pic->w != img->W || pic->h != img->H)) {
    SDL_FreeSurface(pic);
    pic = nullptr;
  }
  if (!pic) {
    img->Undecodable = true;
    SDL_Log("Picture does not decode: %s", ToUtf8(img->Source).c_str());
    return false;
  }
  if (img->First < 0) {
    if (img->Frames[0]) {
      SDL_FreeSurface(pic);
    } else {
      img->Frames[0] = pic;
    }
    return true;
  }
  // Frames are read left to right, then row by row when the picture holds several rows;
  // a frame that lies (partly) outside the picture is transparent there.
  int columns = std::max(pic->w / img->W, 1);
  SDL_SetSurfaceBlendMode(pic, SDL_BLENDMODE_NONE);
  for (size_t k = 0; k < img->Frames.size(); k++) {
    if (img->Frames[k]) continue;
    int64_t index = img->First + int64_t(k);
    int64_t x = index % columns * img->W, y = index / columns * img->H;
    img->Frames[k] = NewFrameSurface(img->W, img->H);
    if (!img->Frames[k] || x > INT32_MAX || y > INT32_MAX) continue;
    SDL_Rect src = {int(x), int(y), img->W, img->H};
    SDL_BlitSurface(pic, &src, img->Frames[k], nullptr);
  }
  SDL_FreeSurface(pic);
  return true;
}

void DropPixels(Image* img) {
  for (SDL_Surface*& s : img->Frames) {
    SDL_FreeSurface(s);
    s = nullptr;
  }
}

// A picture of `count` frames of w x h from the url (first < 0: one frame, the whole picture).
// Only the header is read when the data is the game's own; a player's file is decoded once, so
// a file that is no picture fails here and not later, and its bytes are kept, so it draws the
// same even if the file changes or goes.
Image* LoadSource(const String& url, int flags, int first, int w, int h, int count) {
  std::vector<uint8_t> bytes;
  const uint8_t* data = nullptr;
  size_t size = 0;
  bool embedded = false;
  if (!EmbeddedUrl(url, &data, &size, &embedded)) {
    if (embedded || !ReadUrlBytes(url, &bytes, Max_Player_Picture_Bytes)) return nullptr;
    data = bytes.data();
    size = bytes.size();
  }
  // A picture is a PNG or JPEG file whose header says how large it is, before anything is
  // decoded. A player's picture is also no larger than a flag can sensibly be: one crafted file
  // shared with a language would otherwise take gigabytes at every start that shows the
  // language screen.
  int64_t pic_w = 0, pic_h = 0;
  if (!PictureHeaderSize(data, size, &pic_w, &pic_h) || !SizeAllowed(pic_w, pic_h)) return nullptr;
  if (!embedded) {
    if (pic_w > Player_Picture_Side || pic_h > Player_Picture_Side) return nullptr;
    SDL_Surface* pic = DecodePicture(data, size, false);
    const bool as_declared = pic && pic->w == pic_w && pic->h == pic_h;
    SDL_FreeSurface(pic);
    if (!as_declared) return nullptr;
  }
  Image* img = first < 0 ? NewImage(int(pic_w), int(pic_h), 1, Filtered(flags))
                         : NewImage(w, h, count, Filtered(flags));
  img->Source = url;
  img->Source_Bytes = std::move(bytes);
  img->Masked = Masked(flags);
  img->First = first;
  return img;
}

// Makes (or refreshes) the texture of frame k from its surface.
SDL_Texture* MakeFrameTexture(Image* img, size_t k) {
  SDL_Surface* s = img->Frames[k];
  if (!s) return nullptr;
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

bool TextureCurrent(const Image* img, size_t k) {
  return img->Textures[k] && img->Texture_Generation[k] == Renderer_Generation && !img->Stale[k];
}

// A loaded picture's frames all get their textures from one decoding, then the decoded pixels
// go: a strip's frames are drawn together (a tile style's shapes, the side bar's icons), and
// decoding the sheet again for each frame would cost far more than the small textures.
SDL_Texture* TexturesFromSource(Image* img, size_t k) {
  if (!img->Frames[k] && !DecodeFrames(img)) return nullptr;
  bool all = true;
  for (size_t j = 0; j < img->Frames.size(); j++) {
    if (!TextureCurrent(img, j) && !MakeFrameTexture(img, j)) all = false;
  }
  // Kept when a texture could not be made, so the next draw does not decode again.
  if (all) DropPixels(img);
  return img->Textures[k];
}

}  // namespace

Image* LoadImage(const String& url, int flags) { return LoadSource(url, flags, -1, 0, 0, 1); }

Image* LoadImageStrip(const String& url, int w, int h, int first, int count, int flags) {
  if (!SizeAllowed(w, h) || count <= 0 || first < 0) return nullptr;
  return LoadSource(url, flags, first, w, h, count);
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
  if (!img->Source.empty()) {
    // The grabbed pixels are the picture's own from now on: it can no longer come from its source.
    bool missing = std::find(img->Frames.begin(), img->Frames.end(), nullptr) != img->Frames.end();
    if (missing && !DecodeFrames(img)) return;
    img->Source.clear();
    img->Source_Bytes = {};
  }
  // On a high-density display the picture keeps the window's pixels, all of them: drawn back at
  // its size in the game's units it covers exactly the pixels it was read from.
  const int pw = int(std::lround(img->W * Pixel_Ratio)), ph = int(std::lround(img->H * Pixel_Ratio));
  x = int(std::lround(x * Pixel_Ratio));
  y = int(std::lround(y * Pixel_Ratio));
  SDL_Surface*& dst = img->Frames[size_t(frame)];
  if (dst && (dst->w != pw || dst->h != ph)) {
    SDL_FreeSurface(dst);
    dst = NewFrameSurface(pw, ph);
  }
  if (!dst) return;
  int out_w = 0, out_h = 0;
  if (SDL_GetRendererOutputSize(Renderer, &out_w, &out_h) != 0) return;
  // Only the part of the area that lies inside the window can be read; the rest of the frame
  // keeps its pixels.
  SDL_Rect area = {x, y, pw, ph}, window = {0, 0, out_w, out_h}, part;
  if (!SDL_IntersectRect(&area, &window, &part)) return;
  const size_t pitch = size_t(dst->pitch);
  uint8_t* at = static_cast<uint8_t*>(dst->pixels) + size_t(part.y - y) * pitch + size_t(part.x - x) * 4;
  if (SDL_RenderReadPixels(Renderer, &part, SDL_PIXELFORMAT_ARGB8888, at, dst->pitch) != 0) return;
  for (int row = 0; row < part.h; row++) {
    uint32_t* p = reinterpret_cast<uint32_t*>(at + size_t(row) * pitch);
    for (int col = 0; col < part.w; col++) p[col] |= 0xFF000000u;
  }
  img->Stale[size_t(frame)] = 1;
  img->Opaque_Insets[size_t(frame)].fill(-2);
}

void FreeImage(Image* img) {
  if (!img) return;
  DropScaledFrames(img);
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
  if (img->Textures[k] && img->Texture_Generation[k] != Renderer_Generation) {
    img->Textures[k] = nullptr;  // died with its renderer
  }
  if (TextureCurrent(img, k)) return img->Textures[k];
  if (!img->Source.empty()) return TexturesFromSource(img, k);
  return MakeFrameTexture(img, k);
}

SDL_Surface* CopyOfFrame(Image* img, int frame) {
  if (!img || frame < 0 || frame >= int(img->Frames.size())) return nullptr;
  size_t k = size_t(frame);
  if (img->Frames[k]) return SDL_DuplicateSurface(img->Frames[k]);
  if (!DecodeFrames(img)) return nullptr;
  // Decoded for this copy only: the picture keeps no pixels it did not keep before.
  SDL_Surface* copy = img->Frames[k];
  img->Frames[k] = nullptr;
  DropPixels(img);
  return copy;
}

void DrawImageRect(Image* img, float x, float y, float w, float h, int frame) {
  if (!img) return;
  SDL_Texture* tex = FrameTexture(img, frame);
  if (!tex) return;
  uint64_t version = img->Texture_Version[size_t(frame)];
  // Scaled once and kept, when it keeps being drawn at this size (in the window's pixels).
  uint64_t scaled_version = 0;
  float dw = LandingCoordinate(w * GetScaleX() * Pixel_Ratio), dh = LandingCoordinate(h * GetScaleY() * Pixel_Ratio);
  if (SDL_Texture* scaled = ScaledFrame(img, frame, tex, version, dw, dh, img->Filter, &scaled_version)) {
    DrawTextureInPixels(scaled, scaled_version, nullptr, x, y, dw, dh, img->Filter);
    return;
  }
  DrawTexture(tex, version, nullptr, x, y, w, h, img->Filter);
}

void DrawImageRectParts(Image* img, float x, float y, float w, float h, int frame, const float* parts, int count) {
  if (!img || count <= 0) return;
  SDL_Texture* tex = FrameTexture(img, frame);
  if (!tex) return;
  uint64_t version = img->Texture_Version[size_t(frame)];
  const float sx = GetScaleX() * Pixel_Ratio, sy = GetScaleY() * Pixel_Ratio;
  float dw = LandingCoordinate(w * sx), dh = LandingCoordinate(h * sy);
  uint64_t scaled_version = 0;
  SDL_Texture* drawn = ScaledFrame(img, frame, tex, version, dw, dh, img->Filter, &scaled_version);
  // Parts are cut from a kept copy, so it is made at once rather than the second time.
  if (!drawn) drawn = ScaledFrame(img, frame, tex, version, dw, dh, img->Filter, &scaled_version);
  if (drawn) {
    version = scaled_version;
  } else {
    drawn = tex;
  }
  int tw = 0, th = 0;
  SDL_QueryTexture(drawn, nullptr, nullptr, &tw, &th);
  // The whole draw would copy the texture's pixels one for one from a whole pixel of the window:
  // then any whole-pixel part of it is the same pixels. Every part is checked before any is drawn.
  const float wx = WindowPixelX(x), wy = WindowPixelY(y);
  bool clean = dw == float(tw) && dh == float(th) && wx == std::floor(wx) && wy == std::floor(wy);
  std::vector<SDL_Rect> cuts;
  for (int k = 0; k < count && clean; k++) {
    const float part[4] = {parts[4 * k] * sx, parts[4 * k + 1] * sy, parts[4 * k + 2] * sx, parts[4 * k + 3] * sy};
    for (float v : part) clean = clean && v == std::floor(v) && std::fabs(v) < 1e6f;
    if (!clean) break;
    SDL_Rect src = {int(part[0]), int(part[1]), int(part[2]), int(part[3])}, whole = {0, 0, tw, th}, cut;
    if (!SDL_IntersectRect(&src, &whole, &cut)) continue;
    // The part's corner in units, checked to land on the very pixel the whole draw puts it on.
    const float cx = x + float(cut.x) / Pixel_Ratio, cy = y + float(cut.y) / Pixel_Ratio;
    clean = WindowPixelX(cx) == wx + float(cut.x) && WindowPixelY(cy) == wy + float(cut.y);
    cuts.push_back(cut);
  }
  if (!clean) {
    DrawImageRect(img, x, y, w, h, frame);
    return;
  }
  for (const SDL_Rect& cut : cuts) {
    DrawTextureInPixels(drawn, version, &cut, x + float(cut.x) / Pixel_Ratio, y + float(cut.y) / Pixel_Ratio,
                        float(cut.w), float(cut.h), img->Filter);
  }
}

// Every set of sides' inset for one frame's pixels, from one pass: a pixel that is not fully
// opaque must lie in the border, so the inset passes its distance to the nearest of the sides.
void WorkOutOpaqueInsets(const SDL_Surface* pixels, int units_w, std::array<int8_t, 16>* insets) {
  std::array<int, 16> need{};
  const int w = pixels->w, h = pixels->h;
  for (int y = 0; y < h; y++) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(pixels->pixels) +
                                                            size_t(y) * size_t(pixels->pitch));
    for (int x = 0; x < w; x++) {
      if ((row[x] >> 24) == 0xFF) continue;
      const int distance[4] = {x, y, w - 1 - x, h - 1 - y};   // left, top, right, bottom
      need[0] = INT_MAX;
      for (int sides = 1; sides < 16; sides++) {
        int nearest = INT_MAX;
        for (int side = 0; side < 4; side++) {
          if (sides & (1 << side)) nearest = std::min(nearest, distance[side]);
        }
        need[size_t(sides)] = std::max(need[size_t(sides)], nearest + 1);
      }
    }
  }
  const int most = std::min({w, h, 200}) / 2;
  for (size_t sides = 0; sides < 16; sides++) {
    // In the picture's units: a frame grabbed at a higher density holds more pixels.
    const int m = need[sides];
    (*insets)[sides] = m <= most ? int8_t(std::min((m * units_w + w - 1) / w, 127)) : int8_t(-1);
  }
}

int ImageOpaqueInset(Image* img, int frame, int sides) {
  if (!img || frame < 0 || frame >= int(img->Frames.size()) || sides < 0 || sides > 15) return -1;
  std::array<int8_t, 16>& known = img->Opaque_Insets[size_t(frame)];
  if (known[size_t(sides)] != -2) return known[size_t(sides)];
  // A strip's frames are asked about together (a tile's four corners), so one decoding answers
  // for every frame and every set of sides.
  const bool decoded = !img->Frames[size_t(frame)];
  if (decoded && !DecodeFrames(img)) {
    known.fill(-1);
    return -1;
  }
  for (size_t k = 0; k < img->Frames.size(); k++) {
    const SDL_Surface* pixels = img->Frames[k];
    if (pixels && pixels->format->format == SDL_PIXELFORMAT_ARGB8888 && pixels->w > 0 && pixels->h > 0) {
      WorkOutOpaqueInsets(pixels, img->W, &img->Opaque_Insets[k]);
    } else if (k == size_t(frame)) {
      known.fill(-1);
    }
  }
  if (decoded) DropPixels(img);
  return known[size_t(sides)];
}

void DrawImage(Image* img, float x, float y, int frame) {
  if (!img) return;
  DrawImageRect(img, x, y, float(img->W), float(img->H), frame);
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

// Fonts and text: TrueType faces, the built-in default face, the fallback face for characters
// the current face lacks (CJK), measuring, and a cache of rendered text.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <unordered_map>
#include <utility>

#include "platform/compositor.h"
#include "platform/internal.h"
#include "platform/platform.h"

namespace {

constexpr int Default_Font_Size = 14;
// A font from the player's folder is read whole into memory; the largest faces with every
// CJK character take about 20 MB.
constexpr size_t Max_Player_Font_Bytes = size_t(64) << 20;
constexpr size_t Text_Cache_Limit = 400;

int Next_Font_Id = 1;
Font* Current_Font = nullptr;
Font* Default_Font = nullptr;
// A fallback file's bytes; embedded bytes are used in place. Faces opened over older bytes
// may still exist until their next use, so replaced bytes are kept rather than freed.
std::list<std::vector<uint8_t>> Fallback_Files;
const uint8_t* Fallback_Data = nullptr;
size_t Fallback_Size = 0;
int Fallback_Generation = 0;

// A piece of text that one face draws: its UTF-8 bytes and the face.
struct Run {
  TTF_Font* Face;
  std::string Utf8;
};

struct TextLayout {
  std::vector<Run> Runs;
  std::vector<int> Widths;
  std::vector<int> Tops;   // y of each run, so the baselines of the faces line up
  int Width = 0, Height = 0;
};

struct CachedText {
  SDL_Texture* Texture = nullptr;
  uint64_t Generation = 0;
  uint64_t Version = 0;
  int W = 0, H = 0;
  std::list<String>::iterator Age;
};

std::unordered_map<String, CachedText> Text_Cache;
std::list<String> Text_Ages;   // most recently drawn first

TTF_Font* OpenFace(const uint8_t* data, size_t size, int px) {
  SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
  if (!rw) return nullptr;
  return TTF_OpenFontRW(rw, 1, px);
}

Font* ActiveFont() {
  if (Current_Font) return Current_Font;
  if (!Default_Font) {
    const uint8_t* data;
    size_t size;
    if (!EnsureTtf() || !FindResource(u"Data/a2.ttf", &data, &size)) return nullptr;
    int pixels = std::max(1, int(std::lround(Default_Font_Size * Pixel_Ratio)));
    TTF_Font* face = OpenFace(data, size, pixels);
    if (!face) return nullptr;
    Default_Font = new Font;
    Default_Font->Id = Next_Font_Id++;
    Default_Font->Size = Default_Font_Size;
    Default_Font->Ratio = Pixel_Ratio;
    Default_Font->Pixel_Size = pixels;
    Default_Font->Style = FONT_SMOOTH;
    Default_Font->Ttf = face;
  }
  return Default_Font;
}

TTF_Font* FallbackFace(Font* f) {
  if (!Fallback_Data) return nullptr;
  if (f->Fallback_Generation != Fallback_Generation) {
    if (f->Fallback) TTF_CloseFont(f->Fallback);
    f->Fallback = OpenFace(Fallback_Data, Fallback_Size, f->Pixel_Size);
    if (f->Fallback) TTF_SetFontStyle(f->Fallback, TTF_GetFontStyle(f->Ttf));
    f->Fallback_Generation = Fallback_Generation;
  }
  return f->Fallback;
}

// Splits the text into runs of the font's own face and of the fallback face; a character that
// neither face has is left out, so it takes no room and draws nothing.
TextLayout Layout(Font* f, const String& text) {
  TextLayout out;
  size_t i = 0;
  while (i < text.size()) {
    uint32_t cp = NextCodePoint(text, &i);
    TTF_Font* face = nullptr;
    if (TTF_GlyphIsProvided32(f->Ttf, cp)) {
      face = f->Ttf;
    } else if (TTF_Font* fb = FallbackFace(f); fb && TTF_GlyphIsProvided32(fb, cp)) {
      face = fb;
    }
    if (!face) continue;
    if (out.Runs.empty() || out.Runs.back().Face != face) out.Runs.push_back({face, ""});
    AppendUtf8(&out.Runs.back().Utf8, cp);
  }
  int ascent = TTF_FontAscent(f->Ttf);
  for (const Run& r : out.Runs) ascent = std::max(ascent, TTF_FontAscent(r.Face));
  out.Height = TTF_FontHeight(f->Ttf) + ascent - TTF_FontAscent(f->Ttf);
  for (const Run& r : out.Runs) {
    int w = 0, h = 0;
    TTF_SizeUTF8(r.Face, r.Utf8.c_str(), &w, &h);
    int top = ascent - TTF_FontAscent(r.Face);
    out.Widths.push_back(w);
    out.Tops.push_back(top);
    out.Width += w;
    out.Height = std::max(out.Height, top + TTF_FontHeight(r.Face));
  }
  return out;
}

SDL_Surface* RenderRun(const Run& r, bool smooth) {
  SDL_Color white = {255, 255, 255, 255};
  SDL_Surface* s = smooth ? TTF_RenderUTF8_Blended(r.Face, r.Utf8.c_str(), white)
                          : TTF_RenderUTF8_Solid(r.Face, r.Utf8.c_str(), white);
  if (!s) return nullptr;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(s);
  return argb;
}

// White text on transparent pixels; drawing tints it with the current colour and alpha.
SDL_Surface* RenderText(Font* f, const TextLayout& layout) {
  if (layout.Width <= 0 || layout.Height <= 0) return nullptr;
  SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, layout.Width, layout.Height, 32,
                                                    SDL_PIXELFORMAT_ARGB8888);
  if (!out) return nullptr;
  SDL_FillRect(out, nullptr, 0);
  int x = 0;
  for (size_t k = 0; k < layout.Runs.size(); k++) {
    SDL_Surface* s = RenderRun(layout.Runs[k], (f->Style & FONT_SMOOTH) != 0);
    if (s) {
      // Copied, not blended: blending onto the transparent canvas would darken the edges.
      SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
      SDL_Rect dst = {x, layout.Tops[k], s->w, s->h};
      SDL_BlitSurface(s, nullptr, out, &dst);
      SDL_FreeSurface(s);
    }
    x += layout.Widths[k];
  }
  return out;
}

String CacheKey(Font* f, const String& text) {
  String key;
  key.push_back(char16_t(f->Id & 0xFFFF));
  key.push_back(char16_t(f->Id >> 16));
  key.push_back(char16_t(Fallback_Generation & 0xFFFF));
  key += text;
  return key;
}

void DropOldest() {
  const String& key = Text_Ages.back();
  auto it = Text_Cache.find(key);
  if (it != Text_Cache.end()) {
    if (it->second.Texture && it->second.Generation == Renderer_Generation) {
      DropScaledFrames(it->second.Texture);
      RetireTexture(it->second.Texture);
    }
    Text_Cache.erase(it);
  }
  Text_Ages.pop_back();
}

}  // namespace

bool EnsureTtf() {
  static int state = 0;
  if (state == 0) {
    state = TTF_WasInit() || TTF_Init() == 0 ? 1 : -1;
    if (state < 0) SDL_Log("No TrueType support: %s", TTF_GetError());
  }
  return state > 0;
}

Font* LoadFont(const String& url, int size, int style) {
  if (size <= 0 || !EnsureTtf()) return nullptr;
  Font* f = new Font;
  const uint8_t* data;
  size_t bytes;
  bool embedded;
  if (!EmbeddedUrl(url, &data, &bytes, &embedded)) {
    if (embedded || !ReadUrlBytes(url, &f->Bytes, Max_Player_Font_Bytes)) {
      delete f;
      return nullptr;
    }
    data = f->Bytes.data();
    bytes = f->Bytes.size();
  }
  // Opened at the window's pixels, so text on a high-density display is drawn sharp, not enlarged.
  f->Ratio = Pixel_Ratio;
  f->Pixel_Size = std::max(1, int(std::lround(size * Pixel_Ratio)));
  f->Ttf = OpenFace(data, bytes, f->Pixel_Size);
  if (!f->Ttf) {
    delete f;
    return nullptr;
  }
  int ttf_style = TTF_STYLE_NORMAL;
  if (style & 1) ttf_style |= TTF_STYLE_BOLD;
  if (style & 2) ttf_style |= TTF_STYLE_ITALIC;
  TTF_SetFontStyle(f->Ttf, ttf_style);
  f->Id = Next_Font_Id++;
  f->Size = size;
  f->Style = style;
  return f;
}

void FreeFont(Font* font) {
  if (!font) return;
  if (Current_Font == font) Current_Font = nullptr;
  // Its cached text can never be drawn again (ids are not reused); it ages out of the cache.
  if (font->Fallback) TTF_CloseFont(font->Fallback);
  TTF_CloseFont(font->Ttf);
  delete font;
}

void SetFallbackFont(const String& url) {
  const uint8_t* data;
  size_t size;
  bool embedded;
  std::vector<uint8_t> file;
  Fallback_Data = nullptr;
  Fallback_Size = 0;
  if (EmbeddedUrl(url, &data, &size, &embedded)) {
    Fallback_Data = data;
    Fallback_Size = size;
  } else if (!embedded && ReadUrlBytes(url, &file, Max_Player_Font_Bytes)) {
    Fallback_Files.push_back(std::move(file));
    Fallback_Data = Fallback_Files.back().data();
    Fallback_Size = Fallback_Files.back().size();
  }
  Fallback_Generation++;
}

void SetFont(Font* font) { Current_Font = font; }

// Labels are measured every frame to be centred; shaping the same text again each time cost
// more than drawing it, so sizes are kept like the rendered text.
static std::pair<int, int> MeasuredSize(Font* f, const String& text) {
  static std::unordered_map<String, std::pair<int, int>> sizes;
  String key = CacheKey(f, text);
  auto it = sizes.find(key);
  if (it != sizes.end()) return it->second;
  if (sizes.size() >= 4 * Text_Cache_Limit) sizes.clear();
  TextLayout layout = Layout(f, text);
  return sizes[key] = {layout.Width, layout.Height};
}

// Sizes are measured in the face's pixels and given in the game's units.
static int InUnits(const Font* f, int pixels) {
  return f->Ratio == 1 ? pixels : int(std::lround(pixels / f->Ratio));
}

int TextWidth(const String& text) {
  Font* f = ActiveFont();
  if (!f || text.empty()) return 0;
  return InUnits(f, MeasuredSize(f, text).first);
}

int TextHeight(const String& text) {
  Font* f = ActiveFont();
  if (!f) return 0;
  if (text.empty()) return InUnits(f, TTF_FontHeight(f->Ttf));
  return InUnits(f, MeasuredSize(f, text).second);
}

int GlyphAvailable(int codepoint) {
  Font* f = ActiveFont();
  if (!f || codepoint < 0) return 0;
  const uint32_t cp = static_cast<uint32_t>(codepoint);
  if (TTF_GlyphIsProvided32(f->Ttf, cp)) return 1;
  TTF_Font* fb = FallbackFace(f);
  return fb && TTF_GlyphIsProvided32(fb, cp) ? 1 : 0;
}

void DrawText(const String& text, float x, float y) {
  Font* f = ActiveFont();
  if (!f || text.empty() || !Renderer) return;
  String key = CacheKey(f, text);
  auto it = Text_Cache.find(key);
  if (it != Text_Cache.end() && it->second.Generation != Renderer_Generation) {
    Text_Ages.erase(it->second.Age);
    Text_Cache.erase(it);
    it = Text_Cache.end();
  }
  if (it == Text_Cache.end()) {
    TextLayout layout = Layout(f, text);
    CachedText entry;
    entry.Generation = Renderer_Generation;
    if (SDL_Surface* s = RenderText(f, layout)) {
      entry.Texture = SDL_CreateTextureFromSurface(Renderer, s);
      entry.Version = NextTextureVersion();
      entry.W = s->w;
      entry.H = s->h;
      SDL_FreeSurface(s);
    }
    while (Text_Cache.size() >= Text_Cache_Limit && !Text_Ages.empty()) DropOldest();
    Text_Ages.push_front(key);
    entry.Age = Text_Ages.begin();
    it = Text_Cache.emplace(key, entry).first;
  } else {
    Text_Ages.splice(Text_Ages.begin(), Text_Ages, it->second.Age);
  }
  const CachedText& entry = it->second;
  if (entry.Texture) {
    // The text's pixels one for one when the face was opened for this density.
    float k = Pixel_Ratio / f->Ratio;
    float dw = float(entry.W) * GetScaleX() * k, dh = float(entry.H) * GetScaleY() * k;
    // Text drawn larger or squeezed again and again (the level's number, fitted labels) is
    // scaled once: scaling it with its fade at every frame costs more than the rest of the frame.
    uint64_t scaled_version = 0;
    if (SDL_Texture* scaled = ScaledFrame(entry.Texture, 0, entry.Texture, entry.Version, LandingCoordinate(dw),
                                          LandingCoordinate(dh), true, &scaled_version)) {
      DrawTextureInPixels(scaled, scaled_version, nullptr, x, y, LandingCoordinate(dw), LandingCoordinate(dh), true);
      return;
    }
    DrawTextureInPixels(entry.Texture, entry.Version, nullptr, x, y, dw, dh, true);
  }
}

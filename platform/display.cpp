// The window, the renderer, the drawing state, rectangles, clearing and presenting frames.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/headless.h"
#include "platform/internal.h"
#include "platform/platform.h"

SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
uint64_t Renderer_Generation = 1;
String Window_Title;

namespace {

Image* Window_Icon = nullptr;
int Desktop_Override_W = 0, Desktop_Override_H = 0;
int Display_Hertz = 60;
bool Renderer_Has_Vsync = false;
uint64_t Last_Present_Counter = 0;
SDL_Surface* Last_Frame = nullptr;

// Drawing state. The viewport is a clip rectangle in window coordinates; SDL's own viewport
// stays the whole window because it would also move the origin of every draw.
float Origin_X = 0, Origin_Y = 0;
bool Clip_On = false;
SDL_Rect Clip = {0, 0, 0, 0};
uint8_t Clear_R = 0, Clear_G = 0, Clear_B = 0;
uint8_t Colour_R = 255, Colour_G = 255, Colour_B = 255;
float Alpha = 1;
int Blend = BLEND_SOLID;
float Scale_X = 1, Scale_Y = 1;

uint8_t AlphaByte() {
  float a = std::clamp(Alpha, 0.0f, 1.0f);
  return uint8_t(std::lround(a * 255));
}

SDL_BlendMode SdlBlend() {
  switch (Blend) {
    case BLEND_ALPHA: return SDL_BLENDMODE_BLEND;
    case BLEND_LIGHT: return SDL_BLENDMODE_ADD;
    default: return SDL_BLENDMODE_NONE;
  }
}

void ApplyTitleAndIcon() {
  if (!Window) return;
  SDL_SetWindowTitle(Window, ToUtf8(Window_Title).c_str());
  if (Window_Icon && !Window_Icon->Frames.empty() && Window_Icon->Frames[0]) {
    SDL_SetWindowIcon(Window, Window_Icon->Frames[0]);
  }
}

bool CreateRendererFor(SDL_Window* window) {
  Renderer = nullptr;
  if (!Headless_Mode) {
    Renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  }
  // Machines without graphics acceleration, and headless runs, draw in software.
  if (!Renderer) Renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!Renderer) return false;
  SDL_RendererInfo info;
  Renderer_Has_Vsync = SDL_GetRendererInfo(Renderer, &info) == 0 &&
                       (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  Renderer_Generation++;
  return true;
}

// Sleeps until `periods` display periods after the previous present, so frames are not drawn
// faster than the display rate when the renderer cannot wait for the vertical blank.
void PaceFrame(double periods) {
  if (Headless_Mode || Virtual_Clock || !Last_Present_Counter) return;
  uint64_t freq = SDL_GetPerformanceFrequency();
  uint64_t frame = uint64_t(double(freq) * periods / std::max(Display_Hertz, 1));
  uint64_t elapsed = SDL_GetPerformanceCounter() - Last_Present_Counter;
  if (elapsed >= frame) return;
  uint64_t wait_ms = (frame - elapsed) * 1000 / freq;
  if (wait_ms > 1) SDL_Delay(uint32_t(wait_ms - 1));
  while (SDL_GetPerformanceCounter() - Last_Present_Counter < frame) {
  }
}

// Without any window the game would run on unseen, with no way to stop it but a signal.
[[noreturn]] void NoDisplayAtAll() {
  std::string why = SDL_GetError();
  ShowMessage(FromUtf8("Can't open the display: " + why), 1);
  SDL_Quit();
  std::_Exit(1);
}

}  // namespace

void SelectRenderer() {
  // The renderer is made together with the window by the first OpenDisplay: accelerated with
  // vertical-blank waits when the machine offers it, software otherwise.
  EnsureVideo();
}

void OpenDisplay(int w, int h, int depth, int hertz) {
  if (!EnsureVideo()) NoDisplayAtAll();
  // SDL refuses windows above 16384 pixels; a hand-edited size must not cost the window.
  w = std::clamp(w, 1, 16384);
  h = std::clamp(h, 1, 16384);
  Display_Hertz = hertz > 0 ? hertz : 60;
  // Headless runs have no real screen: "full screen" is simply a window of the desktop size.
  bool full = depth == 32 && !Headless_Mode;
  if (!Window) {
    Uint32 flags = full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    Window = SDL_CreateWindow(ToUtf8(Window_Title).c_str(), SDL_WINDOWPOS_CENTERED,
                              SDL_WINDOWPOS_CENTERED, w, h, flags);
    if (!Window || !CreateRendererFor(Window)) NoDisplayAtAll();
  } else {
    // One window and one renderer for the whole run: every texture stays valid.
    if (full) {
      SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
      SDL_SetWindowFullscreen(Window, 0);
      SDL_SetWindowSize(Window, w, h);
      SDL_SetWindowPosition(Window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
  }
  ApplyTitleAndIcon();
  ResetDrawingState();
  SDL_SetRenderDrawBlendMode(Renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderClear(Renderer);
  Last_Present_Counter = 0;
}

void ResetDrawingState() {
  Origin_X = Origin_Y = 0;
  Clip_On = false;
  ApplyClip();
}

int DesktopWidth() {
  if (Desktop_Override_W > 0) return Desktop_Override_W;
  SDL_DisplayMode mode;
  if (EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) return mode.w;
  return 1024;
}

int DesktopHeight() {
  if (Desktop_Override_H > 0) return Desktop_Override_H;
  SDL_DisplayMode mode;
  if (EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) return mode.h;
  return 768;
}

void SetDesktopSize(int w, int h) {
  Desktop_Override_W = w;
  Desktop_Override_H = h;
}

void SetWindowTitle(const String& title) {
  Window_Title = title;
  ApplyTitleAndIcon();
}

void SetWindowIcon(Image* icon) {
  Window_Icon = icon;
  ApplyTitleAndIcon();
}

Image* WindowIcon() { return Window_Icon; }

void PresentFrame(int sync) {
  if (!Renderer) return;
  if (Headless_Mode) KeepFrameCopy();
  SDL_RenderPresent(Renderer);
  // With a vertical-blank wait the display sets the pace; half a period is only a floor for
  // drivers that claim the wait but do not do it, which would run the game's per-frame
  // animations hundreds of times too fast.
  PaceFrame(sync == 1 && Renderer_Has_Vsync ? 0.5 : 1.0);
  Last_Present_Counter = SDL_GetPerformanceCounter();
}

// In headless runs the frame about to be shown is copied, so SaveLastFrame can write exactly
// what a player would have seen even after the game started drawing the next frame.
void KeepFrameCopy() {
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(Renderer, &w, &h) != 0 || w <= 0 || h <= 0) return;
  // Read in the window's own pixel format when it has no alpha: a plain copy of rows, no
  // conversion, which matters when every frame of a long scripted run is kept.
  Uint32 format = Window ? SDL_GetWindowPixelFormat(Window) : Uint32(SDL_PIXELFORMAT_UNKNOWN);
  bool plain = format != SDL_PIXELFORMAT_UNKNOWN && !SDL_ISPIXELFORMAT_ALPHA(format) &&
               SDL_BYTESPERPIXEL(format) == 4;
  if (!plain) format = SDL_PIXELFORMAT_ARGB8888;
  if (!Last_Frame || Last_Frame->w != w || Last_Frame->h != h || Last_Frame->format->format != format) {
    SDL_FreeSurface(Last_Frame);
    Last_Frame = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, format);
    if (!Last_Frame) return;
  }
  if (SDL_RenderReadPixels(Renderer, nullptr, format, Last_Frame->pixels, Last_Frame->pitch) != 0) {
    return;
  }
  if (plain) return;
  for (int y = 0; y < h; y++) {
    uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(Last_Frame->pixels) +
                                                y * Last_Frame->pitch);
    for (int x = 0; x < w; x++) row[x] |= 0xFF000000u;
  }
}

SDL_Surface* LastFrameSurface() { return Last_Frame; }

// ---- Drawing state ----

void ApplyClip() {
  if (!Renderer) return;
  if (!Clip_On) {
    SDL_RenderSetClipRect(Renderer, nullptr);
  } else {
    SDL_RenderSetClipRect(Renderer, &Clip);
  }
}

void SetOrigin(float x, float y) {
  Origin_X = x;
  Origin_Y = y;
}

void SetViewport(int x, int y, int w, int h) {
  Clip = {x, y, std::max(w, 0), std::max(h, 0)};
  Clip_On = true;
  ApplyClip();
}

void SetClearColour(int r, int g, int b) {
  Clear_R = uint8_t(std::clamp(r, 0, 255));
  Clear_G = uint8_t(std::clamp(g, 0, 255));
  Clear_B = uint8_t(std::clamp(b, 0, 255));
}

void ClearViewport() {
  if (!Renderer) return;
  // SDL_RenderClear ignores the clip rectangle, so the viewport is filled as a rectangle.
  SDL_SetRenderDrawBlendMode(Renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(Renderer, Clear_R, Clear_G, Clear_B, 255);
  if (Clip_On) {
    SDL_RenderFillRect(Renderer, &Clip);
  } else {
    SDL_RenderFillRect(Renderer, nullptr);
  }
}

void SetColour(int r, int g, int b) {
  Colour_R = uint8_t(std::clamp(r, 0, 255));
  Colour_G = uint8_t(std::clamp(g, 0, 255));
  Colour_B = uint8_t(std::clamp(b, 0, 255));
}

void SetAlpha(float a) { Alpha = a; }
void SetBlend(int mode) { Blend = mode; }
void SetScale(float sx, float sy) {
  Scale_X = sx;
  Scale_Y = sy;
}
float GetAlpha() { return Alpha; }
float GetScaleX() { return Scale_X; }
float GetScaleY() { return Scale_Y; }

// ---- Drawing ----

void DrawTexture(SDL_Texture* tex, const SDL_Rect* src, float x, float y, float w, float h,
                 bool filter) {
  if (!Renderer || !tex) return;
  float dw = w * Scale_X, dh = h * Scale_Y;
  if (dw == 0 || dh == 0) return;
  SDL_SetTextureColorMod(tex, Colour_R, Colour_G, Colour_B);
  SDL_SetTextureAlphaMod(tex, Blend == BLEND_SOLID ? 255 : AlphaByte());
  SDL_SetTextureBlendMode(tex, SdlBlend());
  SDL_SetTextureScaleMode(tex, filter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  SDL_FRect dst = {Origin_X + x, Origin_Y + y, dw, dh};
  int flip = SDL_FLIP_NONE;
  if (dw < 0) {
    dst.x += dw;
    dst.w = -dw;
    flip |= SDL_FLIP_HORIZONTAL;
  }
  if (dh < 0) {
    dst.y += dh;
    dst.h = -dh;
    flip |= SDL_FLIP_VERTICAL;
  }
  if (flip == SDL_FLIP_NONE) {
    SDL_RenderCopyF(Renderer, tex, src, &dst);
  } else {
    SDL_RenderCopyExF(Renderer, tex, src, &dst, 0, nullptr, SDL_RendererFlip(flip));
  }
}

void DrawRect(float x, float y, float w, float h) {
  if (!Renderer) return;
  float dw = w * Scale_X, dh = h * Scale_Y;
  SDL_FRect r = {Origin_X + x, Origin_Y + y, dw, dh};
  if (r.w < 0) {
    r.x += r.w;
    r.w = -r.w;
  }
  if (r.h < 0) {
    r.y += r.h;
    r.h = -r.h;
  }
  if (r.w == 0 || r.h == 0) return;
  SDL_SetRenderDrawBlendMode(Renderer, SdlBlend());
  SDL_SetRenderDrawColor(Renderer, Colour_R, Colour_G, Colour_B,
                         Blend == BLEND_SOLID ? 255 : AlphaByte());
  SDL_RenderFillRectF(Renderer, &r);
}

// ---- Test read-back ----

int ReadPixel(int x, int y) {
  if (!Renderer) return -1;
  SDL_Rect r = {x, y, 1, 1};
  uint32_t p = 0;
  if (SDL_RenderReadPixels(Renderer, &r, SDL_PIXELFORMAT_ARGB8888, &p, 4) != 0) return -1;
  return int(p & 0xFFFFFF);
}

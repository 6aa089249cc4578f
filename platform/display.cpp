// The window, the renderer, the drawing state, rectangles, clearing and presenting frames.
#include <SDL.h>
#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/compositor.h"
#include "platform/frame_pacing.h"
#include "platform/headless.h"
#include "platform/internal.h"
#include "platform/platform.h"

SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
float Pixel_Ratio = 1;
uint64_t Renderer_Generation = 1;
String Window_Title;

namespace {

Image* Window_Icon = nullptr;
int Desktop_Override_W = 0, Desktop_Override_H = 0;
int Forced_Ratio = 0;   // headless: the pixels per unit a high-density display would give
int Display_Hertz = 60;
bool Renderer_Has_Vsync = false;
VerticalBlankCheck Vsync_Check;   // of the renderer in use
uint64_t Last_Present_Counter = 0;
SDL_Surface* Last_Frame = nullptr;
bool Frame_Copy_Due = false;   // headless: the frame on screen has not been copied yet

// Drawing state. The viewport is a clip rectangle in window coordinates; SDL's own viewport
// stays the whole window because it would also move the origin of every draw.
float Origin_X = 0, Origin_Y = 0;
bool Clip_On = false;
SDL_Rect Clip = {0, 0, 0, 0};   // in the game's units; in pixels when drawn (ClipInPixels)
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
  // SDL keeps its own copy of the icon's pixels; the picture need not keep any.
  if (SDL_Surface* icon = CopyOfFrame(Window_Icon, 0)) {
    SDL_SetWindowIcon(Window, icon);
    SDL_FreeSurface(icon);
  }
}

// Set once before video starts: SDL's own software renderer instead of an accelerated one.
bool Draw_In_Software = false;

// Whether the machine has a graphics device we may open. Only the device files are looked at:
// asking the GL driver would load it, and that is exactly what a machine without one must avoid.
bool GraphicsHardwarePresent() {
  bool found = access("/dev/nvidia0", R_OK | W_OK) == 0;
  glob_t nodes;
  if (!found && glob("/dev/dri/renderD*", 0, nullptr, &nodes) == 0) {
    for (size_t i = 0; i < nodes.gl_pathc && !found; i++) {
      found = access(nodes.gl_pathv[i], R_OK | W_OK) == 0;
    }
    globfree(&nodes);
  }
  return found;
}

// The frame the system puts around the window: left, top, right and bottom. Until the window is
// on screen the system cannot say, and a title bar of the usual height is assumed, so that a
// window as tall as the free area does not open with its title bar out of reach.
void FrameEdges(int* left, int* top, int* right, int* bottom) {
  constexpr int Usual_Title_Bar = 32;
  *left = *top = *right = *bottom = 0;
  if (Headless_Mode) return;
  if (!Window || SDL_GetWindowBordersSize(Window, top, left, bottom, right) != 0) {
    *left = *right = *bottom = 0;
    *top = Usual_Title_Bar;
  }
}

// Where a window's client area of w x h goes: centred in the usable part of the desktop with
// its frame, and never with its title bar above or left of that part, where it could not be
// taken hold of.
void WindowPlace(int w, int h, int* x, int* y) {
  SDL_Rect area;
  *x = *y = SDL_WINDOWPOS_CENTERED;
  if (Headless_Mode || SDL_GetDisplayUsableBounds(0, &area) != 0) return;
  int top, left, bottom, right;
  FrameEdges(&left, &top, &right, &bottom);
  int outer_w = w + left + right, outer_h = h + top + bottom;
  *x = area.x + left + std::max((area.w - outer_w) / 2, 0);
  *y = area.y + top + std::max((area.h - outer_h) / 2, 0);
}

bool CreateRendererFor(SDL_Window* window) {
  Renderer = nullptr;
  if (!Draw_In_Software) {
    Renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  }
  // Machines without graphics acceleration, and headless runs, draw in software.
  if (!Renderer) Renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!Renderer) return false;
  // The software renderer claims the vertical-blank wait but shows its frames through the window
  // surface, which never waits: taken at its word, the game ran at twice the display rate, and
  // every animation that counts frames ran twice as fast.
  SDL_RendererInfo info;
  Renderer_Has_Vsync = SDL_GetRendererInfo(Renderer, &info) == 0 &&
                       (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 && (info.flags & SDL_RENDERER_SOFTWARE) == 0;
  Vsync_Check.Reset();
  Renderer_Generation++;
  return true;
}

// Sleeps until `periods` display periods after the previous frame, so frames are not drawn
// faster than the display rate when the renderer does not wait for the vertical blank, or when
// nothing changed and nothing was presented; input that arrives meanwhile runs the period's
// frame at once (platform/frame_pacing.h).
//
// Once the screen has stood still for a while with no input at all, the game rests: it waits
// for input, and runs a frame at least every Resting_Frame_Ms so that whatever is due by the
// clock (a blink, the time shown) still comes, a little late at most. Input wakes it at once.
void PaceFrame(double periods, bool presented) {
  if (Headless_Mode || Virtual_Clock) return;
  constexpr int Frames_Before_Rest = 12;
  constexpr int Resting_Frame_Ms = 100;
  static int still_frames = 0;
  static uint64_t events_seen = 0;
  bool input = Input_Event_Count != events_seen;
  events_seen = Input_Event_Count;
  still_frames = presented || input ? 0 : still_frames + 1;
  uint64_t freq = SDL_GetPerformanceFrequency();
  if (still_frames >= Frames_Before_Rest) {
    SDL_WaitEventTimeout(nullptr, Resting_Frame_Ms);
    Last_Present_Counter = SDL_GetPerformanceCounter();
    return;
  }
  uint64_t period = uint64_t(double(freq) * periods / std::max(Display_Hertz, 1));
  PacingClock clock;
  clock.Now = [] { return uint64_t(SDL_GetPerformanceCounter()); };
  clock.Sleep_Until = [freq](uint64_t when) {
    uint64_t now = SDL_GetPerformanceCounter();
    if (now < when) SDL_Delay(uint32_t((when - now) * 1000 / freq));
  };
  clock.Wait_Input_Until = [freq](uint64_t when) {
    uint64_t now = SDL_GetPerformanceCounter();
    return now < when && WaitForInput(uint32_t((when - now) * 1000 / freq));
  };
  Last_Present_Counter = WaitForFrameTime(Last_Present_Counter, period, clock);
}

// Without any window the game would run on unseen, with no way to stop it but a signal.
[[noreturn]] void NoDisplayAtAll() {
  std::string why = SDL_GetError();
  ShowMessage(FromUtf8("Can't open the display: " + why), 1);
  SDL_Quit();
  std::_Exit(1);
}

}  // namespace

void ChooseRendererKind() {
  static bool chosen = false;
  if (chosen) return;
  chosen = true;
  // Without a graphics device the "accelerated" renderer is GL emulated on the CPU: slower than
  // SDL's software renderer and tens of megabytes bigger. A driver the player names is used.
  bool hardware = GraphicsHardwarePresent();
  const char* wanted = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  bool software_wanted = wanted && SDL_strcasecmp(wanted, "software") == 0;
  Draw_In_Software = Headless_Mode || software_wanted || (!wanted && !hardware);
  // The software renderer shows its frames through a window surface, which SDL would otherwise
  // put on a GL texture too; X11's shared memory does that without GL.
  if (Draw_In_Software && !hardware) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

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
  // Headless runs have no real screen: "full screen" is simply a window of the desktop size,
  // and a high-density display is a window of that many more pixels.
  bool full = depth == 32 && !Headless_Mode;
  if (Forced_Ratio > 1) {
    w = std::min(w * Forced_Ratio, 16384);
    h = std::min(h * Forced_Ratio, 16384);
  }
  if (!Window) {
    // High-density displays give the renderer all their pixels; the drawing is scaled up to them.
    Uint32 flags = (full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) | SDL_WINDOW_ALLOW_HIGHDPI;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    if (!full) WindowPlace(w, h, &x, &y);
    Window = SDL_CreateWindow(ToUtf8(Window_Title).c_str(), x, y, w, h, flags);
    if (!Window || !CreateRendererFor(Window)) NoDisplayAtAll();
  } else {
    // One window and one renderer for the whole run: every texture stays valid.
    if (full) {
      SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
      SDL_SetWindowFullscreen(Window, 0);
      SDL_SetWindowSize(Window, w, h);
      int x = 0, y = 0;
      WindowPlace(w, h, &x, &y);
      SDL_SetWindowPosition(Window, x, y);
    }
  }
  ApplyTitleAndIcon();
  UpdatePixelRatio();
  ResetDrawingState();
  // The reopened display starts black, and the next frame is drawn whole.
  ResetComposer();
  Last_Present_Counter = 0;
}

void UpdatePixelRatio() {
  float ratio = 1;
  if (Forced_Ratio > 0) {
    ratio = float(Forced_Ratio);
  } else if (Window && Renderer) {
    int w = 0, h = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(Window, &w, &h);
    if (w > 0 && SDL_GetRendererOutputSize(Renderer, &pw, &ph) == 0 && pw > w) ratio = float(pw) / float(w);
  }
  Pixel_Ratio = ratio;
}

void WindowUnits(int* w, int* h) {
  *w = *h = 1;
  if (Window) SDL_GetWindowSize(Window, w, h);
  // Only the headless window is made larger than its units; a real one is measured in them.
  if (Forced_Ratio > 1) {
    *w /= Forced_Ratio;
    *h /= Forced_Ratio;
  }
  *w = std::max(*w, 1);
  *h = std::max(*h, 1);
}

void ForcePixelRatio(int ratio) { Forced_Ratio = std::clamp(ratio, 0, 4); }

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

void DesktopUsableArea(int* w, int* h) {
  SDL_Rect area;
  if (Desktop_Override_W > 0) {
    // A scripted desktop has no panels.
    *w = Desktop_Override_W;
    *h = Desktop_Override_H;
  } else if (EnsureVideo() && SDL_GetDisplayUsableBounds(0, &area) == 0) {
    *w = area.w;
    *h = area.h;
  } else {
    *w = DesktopWidth();
    *h = DesktopHeight();
  }
}

void WindowFrameSize(int* w, int* h) {
  int top, left, bottom, right;
  FrameEdges(&left, &top, &right, &bottom);
  *w = left + right;
  *h = top + bottom;
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

bool PresentWaitsForVerticalBlank() { return Renderer && Renderer_Has_Vsync && Vsync_Check.Believed(); }

void PresentFrame(int sync) {
  if (!Renderer) return;
  bool shown = PresentComposedFrame();
  if (Headless_Mode && shown) Frame_Copy_Due = true;
  // How far apart the presents of frames shown one after the other end tells whether the
  // renderer's vertical-blank wait is real.
  static uint64_t last_shown_end = 0;
  if (shown && !Headless_Mode && !Virtual_Clock) {
    uint64_t now = SDL_GetPerformanceCounter();
    uint64_t period = SDL_GetPerformanceFrequency() / uint64_t(std::max(Display_Hertz, 1));
    if (last_shown_end) Vsync_Check.Presented(now - last_shown_end, period);
    last_shown_end = now;
  } else {
    last_shown_end = 0;
  }
  // With a vertical-blank wait the display sets the pace; half a period is only a floor for
  // drivers that claim the wait but do not do it, which would run the game's per-frame
  // animations hundreds of times too fast. A frame that was not presented waited for nothing.
  PaceFrame(shown && sync == 1 && PresentWaitsForVerticalBlank() ? 0.5 : 1.0, shown);
}

// In headless runs the frame on screen is copied before anything changes the kept frame, so
// SaveLastFrame writes exactly what a player would have seen even after the game started
// drawing the next frame. Only a frame that is read, or overwritten by a read in the middle of
// the next frame, is ever copied.
void KeepFrameCopy() {
  if (!Frame_Copy_Due) return;
  Frame_Copy_Due = false;
  int w = 0, h = 0;
  Uint32 format = 0;
  if (!KeptFrameFormat(&w, &h, &format) || w <= 0 || h <= 0) return;
  // Read in the kept frame's own pixel format when it has no alpha: a plain copy of rows.
  bool plain = !SDL_ISPIXELFORMAT_ALPHA(format) && SDL_BYTESPERPIXEL(format) == 4;
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
                                                size_t(y) * size_t(Last_Frame->pitch));
    for (int x = 0; x < w; x++) row[x] |= 0xFF000000u;
  }
}

SDL_Surface* LastFrameSurface() {
  KeepFrameCopy();
  return Last_Frame;
}

// ---- Drawing state ----

// The clip rectangle travels with every recorded draw; the composer sets it on the renderer.
void ApplyClip() {}

namespace {

SDL_Rect ClipInPixels() {
  if (Pixel_Ratio == 1) return Clip;
  auto px = [](int v) { return int(std::lround(double(v) * Pixel_Ratio)); };
  return {px(Clip.x), px(Clip.y), px(Clip.x + Clip.w) - px(Clip.x), px(Clip.y + Clip.h) - px(Clip.y)};
}

DrawCommand NewCommand(SDL_BlendMode blend, uint8_t alpha) {
  DrawCommand c;
  std::memset(&c, 0, sizeof c);   // draws are compared byte for byte, padding included
  c.Clip = Clip_On ? ClipInPixels() : SDL_Rect{0, 0, -1, -1};
  c.R = Colour_R;
  c.G = Colour_G;
  c.B = Colour_B;
  c.A = alpha;
  c.Blend = uint8_t(blend);
  return c;
}

bool Whole(float v) { return v == std::floor(v); }

}  // namespace

bool SoftwareRenderer() {
  static uint64_t known_for = 0;
  static bool software = false;
  if (known_for != Renderer_Generation) {
    SDL_RendererInfo info;
    software = Renderer && SDL_GetRendererInfo(Renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    known_for = Renderer_Generation;
  }
  return software;
}

float LandingCoordinate(float v) {
  if (!SoftwareRenderer() || !(std::fabs(v) < 1e9f)) return v;
  return std::trunc(v);
}

float WindowPixelX(float x) { return (Origin_X + x) * Pixel_Ratio; }
float WindowPixelY(float y) { return (Origin_Y + y) * Pixel_Ratio; }

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
  // A clear ignores the drawing colour and origin: the viewport, or the whole window, in the
  // clear colour.
  DrawCommand c = NewCommand(SDL_BLENDMODE_NONE, 255);
  c.R = Clear_R;
  c.G = Clear_G;
  c.B = Clear_B;
  int w = 0, h = 0;
  if (Clip_On) {
    c.Dst = {float(c.Clip.x), float(c.Clip.y), float(c.Clip.w), float(c.Clip.h)};
  } else {
    if (SDL_GetRendererOutputSize(Renderer, &w, &h) != 0) return;
    c.Dst = {0, 0, float(w), float(h)};
  }
  c.Exact = 1;
  RecordDraw(c);
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

void DrawTexture(SDL_Texture* tex, uint64_t version, const SDL_Rect* src, float x, float y,
                 float w, float h, bool filter) {
  DrawTextureInPixels(tex, version, src, x, y, w * Scale_X * Pixel_Ratio, h * Scale_Y * Pixel_Ratio, filter);
}

void DrawTextureInPixels(SDL_Texture* tex, uint64_t version, const SDL_Rect* src, float x, float y,
                         float dw, float dh, bool filter) {
  if (!Renderer || !tex) return;
  if (dw == 0 || dh == 0) return;
  DrawCommand c = NewCommand(SdlBlend(), Blend == BLEND_SOLID ? 255 : AlphaByte());
  c.Texture = tex;
  c.Version = version;
  c.Linear = filter ? 1 : 0;
  if (src) c.Src = *src;
  SDL_FRect dst = {(Origin_X + x) * Pixel_Ratio, (Origin_Y + y) * Pixel_Ratio, dw, dh};
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
  // Recorded where it lands, so draws that land alike compare alike.
  dst = {LandingCoordinate(dst.x), LandingCoordinate(dst.y), LandingCoordinate(dst.w), LandingCoordinate(dst.h)};
  if (dst.w <= 0 || dst.h <= 0) return;
  c.Dst = dst;
  c.Flip = uint8_t(flip);
  int tw = 0, th = 0;
  if (src) {
    tw = src->w;
    th = src->h;
  } else {
    SDL_QueryTexture(tex, nullptr, nullptr, &tw, &th);
  }
  c.Exact = flip == SDL_FLIP_NONE && Whole(dst.x) && Whole(dst.y) && dst.w == float(tw) && dst.h == float(th);
  RecordDraw(c);
}

void DrawRect(float x, float y, float w, float h) {
  if (!Renderer) return;
  float dw = w * Scale_X * Pixel_Ratio, dh = h * Scale_Y * Pixel_Ratio;
  SDL_FRect r = {(Origin_X + x) * Pixel_Ratio, (Origin_Y + y) * Pixel_Ratio, dw, dh};
  if (r.w < 0) {
    r.x += r.w;
    r.w = -r.w;
  }
  if (r.h < 0) {
    r.y += r.h;
    r.h = -r.h;
  }
  if (r.w == 0 || r.h == 0) return;
  DrawCommand c = NewCommand(SdlBlend(), Blend == BLEND_SOLID ? 255 : AlphaByte());
  c.Dst = r;
  // A fill covers whole pixels however it is cut.
  c.Exact = 1;
  RecordDraw(c);
}

// ---- Test read-back ----

int ReadPixel(int x, int y) {
  if (!Renderer) return -1;
  ComposePending();
  SDL_Rect r = {x, y, 1, 1};
  uint32_t p = 0;
  if (SDL_RenderReadPixels(Renderer, &r, SDL_PIXELFORMAT_ARGB8888, &p, 4) != 0) return -1;
  return int(p & 0xFFFFFF);
}

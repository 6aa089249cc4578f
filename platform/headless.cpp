// Headless runs: dummy video and audio, the software renderer, scripted input pushed into the
// same event queue as real input, and the copy of the last presented frame.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/headless.h"
#include "platform/internal.h"
#include "platform/platform.h"

namespace {

constexpr SDL_TouchID Scripted_Touch_Device = 0x7175;
constexpr SDL_FingerID Scripted_Finger = 1;
bool Scripted_Finger_Down = false;

Uint32 WindowId() { return Window ? SDL_GetWindowID(Window) : 0; }

void Push(SDL_Event& e) {
  if (!EnsureEvents()) return;
  e.common.timestamp = SDL_GetTicks();
  SDL_PushEvent(&e);
}

// Window coordinates as the 0..1 fractions touch events carry, rounded up so that turning them
// back into pixels never lands a hair left of or above the scripted position.
float Normalised(float v, int size) {
  if (size <= 0) size = 1;
  float n = float(double(v) / size);
  if (double(n) * size < double(v)) n = std::nextafter(n, 2.0f);
  return n;
}

}  // namespace

void EnterHeadlessMode() {
  Headless_Mode = true;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
}

int IsHeadless() { return Headless_Mode ? 1 : 0; }

void SetWindowShown(int shown) {
  if (!Window) return;
  if (shown) {
    SDL_ShowWindow(Window);
  } else {
    SDL_HideWindow(Window);
  }
  // The window events travel the queue as a real window's do.
  PollSystemEvents();
}

void InjectPointer(int x, int y) {
  Injected_Pointer_X = x;
  Injected_Pointer_Y = y;
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = WindowId();
  e.motion.x = x;
  e.motion.y = y;
  Push(e);
}

void InjectButton(int button, int down) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = WindowId();
  e.button.button = button == 2 ? SDL_BUTTON_RIGHT : button == 3 ? SDL_BUTTON_MIDDLE : SDL_BUTTON_LEFT;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = Injected_Pointer_X;
  e.button.y = Injected_Pointer_Y;
  Push(e);
}

void InjectWheel(int notches) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = WindowId();
  e.wheel.y = notches;
  e.wheel.preciseY = float(notches);
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  Push(e);
}

void InjectKey(int code, int down, int mods) {
  SDL_Keycode sym = SdlKeyOf(code);
  if (sym == SDLK_UNKNOWN && code >= 32 && code < 127) sym = SDL_Keycode(std::tolower(code));
  if (sym == SDLK_UNKNOWN) return;
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = WindowId();
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
  e.key.keysym.mod = static_cast<Uint16>(((mods & Inject_Ctrl) ? KMOD_LCTRL : 0) | ((mods & Inject_Shift) ? KMOD_LSHIFT : 0));
  Push(e);
}

void InjectText(const String& chars) {
  std::string utf8 = ToUtf8(chars);
  const size_t room = sizeof(SDL_TextInputEvent::text) - 1;
  size_t i = 0;
  while (i < utf8.size()) {
    // Cut only between characters: never before a UTF-8 continuation byte.
    size_t n = std::min(room, utf8.size() - i);
    while (n > 0 && i + n < utf8.size() && (uint8_t(utf8[i + n]) & 0xC0) == 0x80) n--;
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    e.text.windowID = WindowId();
    std::memcpy(e.text.text, utf8.data() + i, n);
    Push(e);
    i += n;
  }
}

void InjectTouch(int down, float x, float y) {
  int w = 1, h = 1;
  WindowUnits(&w, &h);
  SDL_Event e;
  SDL_zero(e);
  if (down) {
    e.type = Scripted_Finger_Down ? SDL_FINGERMOTION : SDL_FINGERDOWN;
    Scripted_Finger_Down = true;
  } else {
    e.type = SDL_FINGERUP;
    Scripted_Finger_Down = false;
  }
  e.tfinger.touchId = Scripted_Touch_Device;
  e.tfinger.fingerId = Scripted_Finger;
  e.tfinger.x = Normalised(x, w);
  e.tfinger.y = Normalised(y, h);
  e.tfinger.pressure = down ? 1.0f : 0.0f;
  e.tfinger.windowID = WindowId();
  Push(e);
}

void InjectCloseRequest() {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_QUIT;
  Push(e);
}

int SaveLastFrame(const String& path) {
  SDL_Surface* frame = LastFrameSurface();
  if (!frame || !EnsureImage()) return 0;
  return IMG_SavePNG(frame, SystemPath(path).c_str()) == 0 ? 1 : 0;
}

// Input: pointer, buttons, wheel, keys, typed characters, touch and the close request, all kept
// from the events taken in PollSystemEvents, so scripted events act exactly like real ones.
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>

#include "platform/compositor.h"
#include "platform/internal.h"
#include "platform/platform.h"

int Injected_Pointer_X = 0, Injected_Pointer_Y = 0;

namespace {

constexpr size_t Char_Queue_Limit = 256;
constexpr int Key_Count = 256;
constexpr int Button_Count = 4;   // 1 left, 2 right, 3 middle

int Pointer_X = 0, Pointer_Y = 0, Wheel = 0;
int Button_Hits[Button_Count] = {}, Button_Held[Button_Count] = {};
int Key_Hits[Key_Count] = {}, Key_Held[Key_Count] = {};
std::deque<int> Chars;
bool Close_Requested = false;

struct Finger {
  TouchPoint Point;
  bool Lifted = false;   // went up before any TouchPoints() call saw it
};
std::map<SDL_FingerID, Finger> Fingers;
bool Touch_Seen = false;

int ButtonIndex(uint8_t sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
  }
}

void PushChar(int c) {
  if (Chars.size() < Char_Queue_Limit) Chars.push_back(c);
}

void WindowSize(float* w, float* h) {
  int iw = 1, ih = 1;
  WindowUnits(&iw, &ih);
  *w = float(iw);
  *h = float(ih);
}

void HandleFinger(const SDL_TouchFingerEvent& f, Uint32 type) {
  Touch_Seen = true;
  float w, h;
  WindowSize(&w, &h);
  // Positions come normalised to 0..1 of the window.
  float x = float(double(f.x) * w), y = float(double(f.y) * h);
  if (type == SDL_FINGERDOWN) {
    bool first = true;
    for (auto& [id, finger] : Fingers) {
      if (!finger.Lifted) first = false;
    }
    Finger& finger = Fingers[f.fingerId];
    finger = Finger();
    finger.Point.Primary = first ? 1 : 0;
    finger.Point.New_Contact = 1;
    finger.Point.Start_X = finger.Point.X = x;
    finger.Point.Start_Y = finger.Point.Y = y;
    return;
  }
  auto it = Fingers.find(f.fingerId);
  if (it == Fingers.end()) return;
  it->second.Point.X = x;
  it->second.Point.Y = y;
  if (type == SDL_FINGERUP) {
    // A tap that came and went between two polls is still reported once, as a new contact.
    if (it->second.Point.New_Contact) {
      it->second.Lifted = true;
    } else {
      Fingers.erase(it);
    }
  }
}

}  // namespace

int KeyCodeOf(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KEY_ENTER;
    case SDLK_ESCAPE: return KEY_ESCAPE;
    case SDLK_SPACE: return KEY_SPACE;
    case SDLK_PAGEUP: return KEY_PAGE_UP;
    case SDLK_PAGEDOWN: return KEY_PAGE_DOWN;
    case SDLK_END: return KEY_END;
    case SDLK_HOME: return KEY_HOME;
    case SDLK_LEFT: return KEY_LEFT;
    case SDLK_UP: return KEY_UP;
    case SDLK_RIGHT: return KEY_RIGHT;
    case SDLK_DOWN: return KEY_DOWN;
    case SDLK_BACKSPACE: return KEY_BACKSPACE;
    case SDLK_F1: return KEY_F1;
    default: return 0;
  }
}

SDL_Keycode SdlKeyOf(int code) {
  switch (code) {
    case KEY_ENTER: return SDLK_RETURN;
    case KEY_ESCAPE: return SDLK_ESCAPE;
    case KEY_SPACE: return SDLK_SPACE;
    case KEY_PAGE_UP: return SDLK_PAGEUP;
    case KEY_PAGE_DOWN: return SDLK_PAGEDOWN;
    case KEY_END: return SDLK_END;
    case KEY_HOME: return SDLK_HOME;
    case KEY_LEFT: return SDLK_LEFT;
    case KEY_UP: return SDLK_UP;
    case KEY_RIGHT: return SDLK_RIGHT;
    case KEY_DOWN: return SDLK_DOWN;
    case KEY_BACKSPACE: return SDLK_BACKSPACE;
    case KEY_F1: return SDLK_F1;
    default: return SDLK_UNKNOWN;
  }
}

uint64_t Input_Event_Count = 0;

void PressKeyCode(int code, bool down) {
  if (code <= 0 || code >= Key_Count) return;
  if (down && !Key_Held[code]) Key_Hits[code]++;
  Key_Held[code] = down ? 1 : 0;
}

void TypeCharacter(int c) { PushChar(c); }

void HandleInputEvent(const SDL_Event& e) {
  Input_Event_Count++;
  switch (e.type) {
    case SDL_QUIT:
      Close_Requested = true;
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      // The kept frame lost its pixels: the next frame is drawn whole.
      ResetComposer();
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) Close_Requested = true;
      // The window's pixels were lost or uncovered: the kept frame is shown again.
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
          e.window.event == SDL_WINDOWEVENT_RESTORED) {
        InvalidateScreen();
      }
      // A window of a new size has new pixels, and a window moved to another display may have
      // another density: the next frame is drawn whole, at the density of now.
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_DISPLAY_CHANGED) {
        UpdatePixelRatio();
        ResetComposer();
      }
      break;
    case SDL_MOUSEMOTION:
      // Pointer events that SDL makes up from touches are left out: touch arrives as touch.
      if (e.motion.which == SDL_TOUCH_MOUSEID) break;
      Pointer_X = e.motion.x;
      Pointer_Y = e.motion.y;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (e.button.which == SDL_TOUCH_MOUSEID) break;
      Pointer_X = e.button.x;
      Pointer_Y = e.button.y;
      int b = ButtonIndex(e.button.button);
      if (!b) break;
      if (e.type == SDL_MOUSEBUTTONDOWN) {
        Button_Hits[b]++;
        Button_Held[b] = 1;
      } else {
        Button_Held[b] = 0;
      }
      break;
    }
    case SDL_MOUSEWHEEL:
      if (e.wheel.which == SDL_TOUCH_MOUSEID) break;
      Wheel += e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int code = KeyCodeOf(e.key.keysym.sym);
      if (e.type == SDL_KEYDOWN) {
        // Escape, Backspace and Enter produce no text event, yet typing relies on them;
        // they repeat like typed characters while held.
        if (code == KEY_ESCAPE || code == KEY_BACKSPACE || code == KEY_ENTER) PushChar(code);
        // Ctrl with a letter makes no text event either: such a chord arrives as its own
        // character, so a frame's keys read it as they read any typed key.
        SDL_Keycode sym = e.key.keysym.sym;
        Uint16 mod = e.key.keysym.mod;
        if ((mod & KMOD_CTRL) && !(mod & KMOD_ALT) && sym >= SDLK_a && sym <= SDLK_z) {
          int c = static_cast<int>(sym - SDLK_a) + 1;
          if (c != 8 && c != 9 && c != 10 && c != 13) PushChar((mod & KMOD_SHIFT) ? Char_Ctrl_Shift + c : c);
        }
        if (code && !e.key.repeat) Key_Hits[code]++;
        if (code) Key_Held[code] = 1;
      } else if (code) {
        Key_Held[code] = 0;
      }
      break;
    }
    case SDL_TEXTINPUT: {
      String units = FromUtf8(e.text.text);
      for (char16_t u : units) PushChar(u);
      break;
    }
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
      HandleFinger(e.tfinger, e.type);
      break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
      HandleControllerEvent(e);
      break;
    default:
      break;
  }
}

void PollSystemEvents() {
  if (!EnsureEvents()) return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) HandleInputEvent(e);
}

bool WaitForInput(uint32_t ms) {
  if (!EnsureEvents() || ms == 0) return false;
  // Taken here rather than left queued: SDL hands a frame's poll only what had come when the
  // poll began, so an event left in the queue now would wait one more frame.
  SDL_Event e;
  if (!SDL_WaitEventTimeout(&e, int(std::min<uint32_t>(ms, INT32_MAX)))) return false;
  HandleInputEvent(e);
  return true;
}

int CloseRequested() {
  if (!Close_Requested) return 0;
  Close_Requested = false;
  return 1;
}

int MouseX() { return Pointer_X; }
int MouseY() { return Pointer_Y; }
int MouseZ() { return Wheel; }

int MouseHit(int button) {
  if (button < 1 || button >= Button_Count) return 0;
  int n = Button_Hits[button];
  Button_Hits[button] = 0;
  return n;
}

int MouseDown(int button) {
  if (button < 1 || button >= Button_Count) return 0;
  return Button_Held[button];
}

void FlushMouse() {
  std::fill(std::begin(Button_Hits), std::end(Button_Hits), 0);
  // The wheel position counts turns not yet acted on; they are dropped with the presses.
  Wheel = 0;
}

void FlushKeys() {
  std::fill(std::begin(Key_Hits), std::end(Key_Hits), 0);
  Chars.clear();
}

void ShowPointer() {
  if (EnsureVideo()) SDL_ShowCursor(SDL_ENABLE);
}

void HidePointer() {
  if (EnsureVideo()) SDL_ShowCursor(SDL_DISABLE);
}

void MovePointer(int x, int y) {
  if (Window) SDL_WarpMouseInWindow(Window, x, y);
  Pointer_X = Injected_Pointer_X = x;
  Pointer_Y = Injected_Pointer_Y = y;
}

int KeyHit(int code) {
  if (code < 0 || code >= Key_Count) return 0;
  int n = Key_Hits[code];
  Key_Hits[code] = 0;
  return n;
}

int KeyDown(int code) {
  if (code < 0 || code >= Key_Count) return 0;
  return Key_Held[code];
}

int NextChar() {
  if (Chars.empty()) return 0;
  int c = Chars.front();
  Chars.pop_front();
  return c;
}

void EnableTouch() {
  // SDL delivers touch events whenever a touch device exists; nothing to switch on. Pointer
  // events made up from touches are ignored (see HandleInputEvent).
  EnsureEvents();
}

int TouchReady() {
  if (Touch_Seen) return 1;
  return EnsureEvents() && SDL_GetNumTouchDevices() > 0 ? 1 : 0;
}

std::vector<TouchPoint> TouchPoints() {
  std::vector<TouchPoint> out;
  for (auto it = Fingers.begin(); it != Fingers.end();) {
    out.push_back(it->second.Point);
    it->second.Point.New_Contact = 0;
    if (it->second.Lifted) {
      it = Fingers.erase(it);
    } else {
      ++it;
    }
  }
  return out;
}

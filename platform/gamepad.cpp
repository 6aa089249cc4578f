// Game controllers through SDL's game-controller layer: plugged in and out while the game runs,
// their buttons and left stick turned into the keys and characters the game already answers.
#include <SDL.h>

#include <map>

#include "platform/headless.h"
#include "platform/internal.h"
#include "platform/platform.h"

namespace {

// The stick counts as an arrow pressed beyond the first value and let go below the second, so
// a stick resting near the threshold does not chatter.
constexpr int Stick_Press = 16000, Stick_Release = 8000;

struct Pad {
  SDL_GameController* Controller = nullptr;
  int Stick_X = 0, Stick_Y = 0;   // -1, 0 or 1: the arrow the stick holds on each axis
};
std::map<SDL_JoystickID, Pad> Pads;
bool Pads_Enabled = false;

// The scripted controller of headless runs.
SDL_Joystick* Virtual_Joystick = nullptr;
int Virtual_Device = -1;

bool StartControllers() {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return true;
  // SDL drops presses while no window of ours has the focus, and a headless window never has.
  if (Headless_Mode) SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (!EnsureEvents() || SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    SDL_Log("No game controllers: %s", SDL_GetError());
    return false;
  }
  return true;
}

// What each button is to the game. A is Space (take hold, let go, go on: Enter does the same
// everywhere but on the victory screen, which Space leaves), B is Backspace (undo), X types "r"
// (restart), Y types "?" (a hint), Start is Esc; the shoulders are keys of their own, which
// the game takes as "-" and "+" or, on the level map, as page keys.
void ButtonChanged(int button, bool down) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: PressKeyCode(KEY_UP, down); break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: PressKeyCode(KEY_DOWN, down); break;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: PressKeyCode(KEY_LEFT, down); break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: PressKeyCode(KEY_RIGHT, down); break;
    case SDL_CONTROLLER_BUTTON_A:
      PressKeyCode(KEY_SPACE, down);
      if (down) TypeCharacter(' ');
      break;
    case SDL_CONTROLLER_BUTTON_B:
      PressKeyCode(KEY_BACKSPACE, down);
      if (down) TypeCharacter(KEY_BACKSPACE);
      break;
    case SDL_CONTROLLER_BUTTON_X:
      if (down) TypeCharacter('r');
      break;
    case SDL_CONTROLLER_BUTTON_Y:
      if (down) TypeCharacter('?');
      break;
    case SDL_CONTROLLER_BUTTON_START:
      PressKeyCode(KEY_ESCAPE, down);
      if (down) TypeCharacter(KEY_ESCAPE);
      break;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: PressKeyCode(KEY_PAD_LEFT_SHOULDER, down); break;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: PressKeyCode(KEY_PAD_RIGHT_SHOULDER, down); break;
    default: break;
  }
}

// The stick on one axis: -1, 0 or 1, moved to the arrow keys it holds.
void StickMoved(int* held, int value, int negative_key, int positive_key) {
  int now = *held;
  if (value <= -Stick_Press) now = -1;
  else if (value >= Stick_Press) now = 1;
  else if (value > -Stick_Release && value < Stick_Release) now = 0;
  if (now == *held) return;
  if (*held != 0) PressKeyCode(*held < 0 ? negative_key : positive_key, false);
  if (now != 0) PressKeyCode(now < 0 ? negative_key : positive_key, true);
  *held = now;
}

void Connect(int device_index) {
  // Headless runs answer only their scripted controller, so a pad on the test machine cannot
  // change a replay.
  if (Headless_Mode && !SDL_JoystickIsVirtual(device_index)) return;
  SDL_GameController* c = SDL_GameControllerOpen(device_index);
  if (!c) return;
  SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
  if (Pads.count(id)) {
    SDL_GameControllerClose(c);   // the same controller announced twice
    return;
  }
  Pads[id].Controller = c;
}

void Disconnect(SDL_JoystickID id) {
  auto it = Pads.find(id);
  if (it == Pads.end()) return;
  // A key it held must not stay down for ever.
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; b++) {
    if (SDL_GameControllerGetButton(it->second.Controller, SDL_GameControllerButton(b))) ButtonChanged(b, false);
  }
  StickMoved(&it->second.Stick_X, 0, KEY_LEFT, KEY_RIGHT);
  StickMoved(&it->second.Stick_Y, 0, KEY_UP, KEY_DOWN);
  SDL_GameControllerClose(it->second.Controller);
  Pads.erase(it);
}

}  // namespace

void EnableGamepads() {
  Pads_Enabled = true;
  // Headless runs start the controller layer with their scripted controller, not before.
  if (!Headless_Mode) StartControllers();
}

int GamepadCount() { return static_cast<int>(Pads.size()); }

void HandleControllerEvent(const SDL_Event& e) {
  if (!Pads_Enabled) return;
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: Connect(e.cdevice.which); break;
    case SDL_CONTROLLERDEVICEREMOVED: Disconnect(e.cdevice.which); break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (Pads.count(e.cbutton.which)) ButtonChanged(e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN);
      break;
    case SDL_CONTROLLERAXISMOTION: {
      auto it = Pads.find(e.caxis.which);
      if (it == Pads.end()) break;
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) StickMoved(&it->second.Stick_X, e.caxis.value, KEY_LEFT, KEY_RIGHT);
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) StickMoved(&it->second.Stick_Y, e.caxis.value, KEY_UP, KEY_DOWN);
      break;
    }
    default: break;
  }
}

// ---- The scripted controller ----

int ConnectVirtualPad() {
  if (Virtual_Joystick) return 1;
  if (!StartControllers()) return 0;
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.name = "qUaRk scripted controller";
  Virtual_Device = SDL_JoystickAttachVirtualEx(&desc);
  if (Virtual_Device < 0) return 0;
  Virtual_Joystick = SDL_JoystickOpen(Virtual_Device);
  if (!Virtual_Joystick) {
    SDL_JoystickDetachVirtual(Virtual_Device);
    Virtual_Device = -1;
    return 0;
  }
  return 1;
}

void DisconnectVirtualPad() {
  if (!Virtual_Joystick) return;
  SDL_JoystickID id = SDL_JoystickInstanceID(Virtual_Joystick);
  SDL_JoystickClose(Virtual_Joystick);
  Virtual_Joystick = nullptr;
  for (int i = 0; i < SDL_NumJoysticks(); i++) {
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
  Virtual_Device = -1;
  SDL_JoystickUpdate();
}

int PressVirtualPadButton(const std::string& name, int down) {
  SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
  if (!Virtual_Joystick || button == SDL_CONTROLLER_BUTTON_INVALID) return 0;
  if (SDL_JoystickSetVirtualButton(Virtual_Joystick, button, down ? SDL_PRESSED : SDL_RELEASED) != 0) return 0;
  // The change becomes an event now, so a press and a release in a row are both seen.
  SDL_JoystickUpdate();
  return 1;
}

int MoveVirtualPadAxis(const std::string& name, int value) {
  SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
  if (!Virtual_Joystick || axis == SDL_CONTROLLER_AXIS_INVALID) return 0;
  if (value < -32768 || value > 32767) return 0;
  if (SDL_JoystickSetVirtualAxis(Virtual_Joystick, axis, Sint16(value)) != 0) return 0;
  SDL_JoystickUpdate();
  return 1;
}

// SDL start-up, the clock, the message box, opening web pages and ending the program.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

#include "platform/headless.h"
#include "platform/internal.h"
#include "platform/platform.h"

bool Headless_Mode = false;
bool Virtual_Clock = false;

namespace {

uint32_t Virtual_Ms = 0;
int Virtual_Date[3] = {2026, 1, 1};
int Events_State = 0;   // 0 not tried, 1 working, -1 failed
int Video_State = 0;
String Last_Url;

void SetHintsOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  // Touches arrive as touch events only; the game turns them into pointer input itself.
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
  // A full-screen game that loses focus stays on screen instead of shrinking to an icon.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The first click into the window counts, as players expect from a game board.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
}

}  // namespace

bool EnsureEvents() {
  if (Events_State == 0) {
    SetHintsOnce();
    Events_State = SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_TIMER) == 0 ? 1 : -1;
    if (Events_State < 0) SDL_Log("No event queue: %s", SDL_GetError());
  }
  return Events_State > 0;
}

bool EnsureVideo() {
  if (Video_State == 0) {
    EnsureEvents();
    ChooseRendererKind();
    Video_State = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 ? 1 : -1;
    if (Video_State < 0) SDL_Log("No display: %s", SDL_GetError());
  }
  return Video_State > 0;
}

bool NoVisibleDisplay() {
  if (Headless_Mode || Video_State < 0) return true;
  const char* driver = Video_State > 0 ? SDL_GetCurrentVideoDriver() : SDL_getenv("SDL_VIDEODRIVER");
  return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

uint32_t Millisecs() { return Virtual_Clock ? Virtual_Ms : SDL_GetTicks(); }

void SetVirtualMillisecs(uint32_t ms) {
  Virtual_Clock = true;
  Virtual_Ms = ms;
}

void SetVirtualDate(int year, int month, int day) {
  Virtual_Date[0] = year;
  Virtual_Date[1] = month;
  Virtual_Date[2] = day;
}

void LocalDate(int* year, int* month, int* day) {
  if (Virtual_Clock) {
    *year = Virtual_Date[0];
    *month = Virtual_Date[1];
    *day = Virtual_Date[2];
    return;
  }
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  *year = local.tm_year + 1900;
  *month = local.tm_mon + 1;
  *day = local.tm_mday;
}

uint32_t FreshSeed() {
  if (Virtual_Clock) return (static_cast<uint32_t>(Rand(0, 0xFFFF)) << 16) | static_cast<uint32_t>(Rand(0, 0xFFFF));
  std::random_device device;
  return device();
}

void ShowMessage(const String& text, int serious) {
  std::string utf8 = ToUtf8(text);
  if (!NoVisibleDisplay()) {
    Uint32 kind = serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    std::string title = ToUtf8(Window_Title);
    if (SDL_ShowSimpleMessageBox(kind, title.c_str(), utf8.c_str(), Window) == 0) return;
  }
  // Nobody could answer a box: the message goes to the log as one line and nothing waits.
  for (char& c : utf8) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  std::fprintf(stderr, "%s\n", utf8.c_str());
  std::fflush(stderr);
}

void OpenUrl(const String& address) {
  Last_Url = address;
  if (NoVisibleDisplay()) return;   // headless runs never start a browser
  SDL_OpenURL(ToUtf8(address).c_str());
}

String LastOpenedUrl() { return Last_Url; }

[[noreturn]] void EndProgram(int status) {
  std::fflush(nullptr);
  // SDL_Quit gives the desktop its video mode back; destructors of the game's globals are
  // skipped on purpose, nothing of the game runs after this point.
  SDL_Quit();
  std::_Exit(status);
}

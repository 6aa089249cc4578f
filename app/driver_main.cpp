// quark-driver: runs the real start-up and frame loop headless, with a virtual clock and input
// read from a script, so that whole play sessions can be replayed and checked.
//
// Script: one command a line; blank lines and lines starting with '#' are ignored.
//   desktop W H        the desktop size (only before the first frame; default 1920 1080)
//   density N          N window pixels per unit, as on a high-density display (only before the
//                      first frame; default 1): the pointer and the game keep their units,
//                      the frame and `shot` have N times the pixels across and down
//   wait N             run N frames
//   sleep MS           add MS to the clock before the next frame
//   move X Y           pointer to window pixel (X, Y)
//   press B, release B mouse button B (1 left, 2 right) down, up
//   click X Y          move there, press 1, run one frame, release 1
//   wheel N            wheel by N notches
//   key NAME           one hit of a key; keydown NAME, keyup NAME hold and let go. NAME is a
//                      key's name (Escape, Return, space, BackSpace, Left, Right, Up, Down,
//                      Home, End, PageUp, PageDown, F1) or one letter or sign, after "Ctrl+"
//                      and/or "Shift+" to hold those with it (key Ctrl+Shift+z)
//   text STRING        queue these characters
//   touch X Y, untouch primary touch contact down at (X, Y), lifted
//   close              the window's close request
//   shot FILE          the last presented frame as a PNG
//   state FILE         the game state as "Name = value" lines
//   level N            lay out catalogue level N (1 = the first record) and enter play as the
//                      level map does; N outside the catalogue is a line that cannot be read
//   compare            draws the frame on screen again whole, from black, and stops the script
//                      (exit 1) when any pixel differs from what was shown
//   keep WHERE         where the frame is kept between presents: "window" (the default with the
//                      software renderer) or "texture" (as with accelerated renderers)
//   pad connect, pad disconnect   plug a game controller (SDL's virtual one) in, pull it out
//   pad tap B, pad down B, pad up B   controller button B by SDL's name (a, b, x, y, start,
//                      leftshoulder, rightshoulder, dpup, dpdown, dpleft, dpright): pressed and
//                      let go, held, let go
//   pad axis A V       controller axis A (leftx, lefty) to V (-32768..32767)
//   today Y M D        the local date the game reads (default 2026 1 1)
//   code CODE          make and start the random level of a level code, as "--level CODE" does
//   ready              waits, in real time with the clock standing still, until the level being
//                      made is ready (it starts at the next frame); exit 1 after a minute
// The game starts at the first command that is not `desktop`. Exit 0 at the end of the script
// or when the game ends itself; exit 1 naming the line that cannot be read.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/frame_loop.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/startup.h"
#include "app/state.h"
#include "board/block.h"
#include "board/hint_play.h"
#include "board/level_play.h"
#include "board/moves.h"
#include "board/undo.h"
#include "fx/fragments.h"
#include "fx/level_map.h"
#include "fx/particles.h"
#include "fx/victory.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "levels/random_level.h"
#include "levels/par.h"
#include "i18n/language.h"
#include "i18n/language_select.h"
#include "persist/profile.h"
#include "platform/headless.h"
#include "ui/tutorial.h"

namespace {

constexpr uint32_t Clock_Base = 100000;

struct Driver {
  int64_t frames = 0;    // frames run so far
  int64_t slept = 0;     // milliseconds added by `sleep`
  bool started = false;
  int desktop_w = 1920, desktop_h = 1080;
  int density = 1;

  uint32_t Clock() const { return Clock_Base + static_cast<uint32_t>(frames * 1000 / 60 + slept); }

  void Start() {
    if (started) return;
    started = true;
    SetDesktopSize(desktop_w, desktop_h);
    ForcePixelRatio(density);
    SetVirtualMillisecs(Clock());
    StartGame();
  }

  void Frame() {
    Start();
    // A hint's search runs on its own thread; on the virtual clock it is done by the next frame,
    // so that a script plays the same every time on any machine.
    WaitForHintSearch();
    SetVirtualMillisecs(Clock());
    RunOneFrame();
    frames++;
  }
};

Driver The_Driver;

[[noreturn]] void Fail(int line_number, const std::string& line, const std::string& why) {
  std::fprintf(stderr, "quark-driver: line %d: %s: %s\n", line_number, why.c_str(), line.c_str());
  std::exit(1);
}

const std::map<std::string, int>& KeyNames() {
  static const std::map<std::string, int> names = {
      {"Escape", KEY_ESCAPE}, {"Return", KEY_ENTER},     {"space", KEY_SPACE},
      {"BackSpace", KEY_BACKSPACE}, {"Left", KEY_LEFT},  {"Right", KEY_RIGHT},
      {"Up", KEY_UP},         {"Down", KEY_DOWN},        {"Home", KEY_HOME},
      {"End", KEY_END},       {"PageUp", KEY_PAGE_UP},   {"PageDown", KEY_PAGE_DOWN},
      {"F1", KEY_F1},
  };
  return names;
}

char CellChar(int kind) {
  if (kind < 0) return '.';
  if (kind <= 5) return static_cast<char>('0' + kind);
  if (kind <= 31) return static_cast<char>('a' + kind - 6);
  if (kind <= 57) return static_cast<char>('A' + kind - 32);
  return '?';
}

bool WriteState(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  if (!out) return false;
  auto put = [&](const char* name, long long value) { out << name << " = " << value << "\n"; };
  put("Current_Screen", Current_Screen);
  put("Previous_Screen", Previous_Screen);
  put("Return_Screen", Return_Screen);
  put("Level_Index", Level_Index);
  put("Undo_Count", Undo_Count);
  put("Level_Elapsed", Level_Elapsed);
  put("Level_Final_Time", Level_Final_Time);
  put("Music_Flag", Music_Flag);
  put("Music_Index", Music_Index);
  put("Block_Size", Block_Size);
  put("Resolution_X", Resolution_X);
  put("Resolution_Y", Resolution_Y);
  put("Origin_X", Origin_X);
  put("Origin_Y", Origin_Y);
  put("Screen_Mode", Screen_Mode);
  put("Border_Fix", Border_Fix);
  put("Display_Quality", Display_Quality);
  put("Key_Cursor_Mode", Key_Cursor_Mode);
  put("Key_Cursor_X", Key_Cursor_X);
  put("Key_Cursor_Y", Key_Cursor_Y);
  put("Drag_State", Drag_State);
  put("Pending_Screen", Pending_Screen);
  put("Blocks", static_cast<long long>(Block_List.size()));
  put("Fragments", static_cast<long long>(FX_List.size()));
  put("Particles", static_cast<long long>(Particle_List.size()));
  FrameComposition made = LastFrameComposition();
  put("Frame_Draws", made.Commands);
  put("Frame_Redrawn_Pixels", made.Dirty_Pixels);
  put("Frame_Presented", made.Presented);
  out << "Font_Url = " << ToLatin1(Font_Url) << "\n";
  std::string board;
  for (int y = 0; y < 8; y++) {
    if (y > 0) board += '/';
    for (int x = 0; x < 10; x++) board += CellChar(Kind_Grid[x][y]);
  }
  out << "Board = " << board << "\n";
  out << "Language_File = " << ToLatin1(Language_File) << "\n";
  out << "User_Style =";
  for (int style : User_Style) out << " " << style;
  out << "\n";
  put("Total_Play_Time", Total_Play_Time);
  out << "Profile_Version = " << ToLatin1(Profile_Version) << "\n";
  put("Languages", static_cast<long long>(Language_List.size()));
  out << "Text_Play = " << ToUtf8(Translate(u"Play")) << "\n";
  put("Prev_Best_Time", Prev_Best_Time);
  put("Best_Count", Best_Count);
  put("Replay_Count", Replay_Count);
  put("Replay_Index", Replay_Index);
  put("Replay_Direction", Replay_Direction);
  std::string victory_lines;
  for (const T_VICTORY_LINE& line : Victory_Lines) victory_lines += (victory_lines.empty() ? "" : "|") + ToUtf8(line.Text);
  out << "Victory_Lines = " << victory_lines << "\n";
  // As drawn in the last frame: "x y width height red green blue" per line.
  out << "Victory_Line_Places =";
  for (size_t i = 0; i < Victory_Line_Places.size(); i++) {
    const VictoryLinePlace& p = Victory_Line_Places[i];
    out << (i ? " |" : "") << " " << p.X << " " << p.Y << " " << p.Width << " " << p.Height << " " << p.Red << " "
        << p.Green << " " << p.Blue;
  }
  out << "\n";
  // Floats in full, so that "exactly at the end" can be told from "nearly".
  auto put_float = [&](const char* name, float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    out << name << " = " << text << "\n";
  };
  put_float("Level_List_Scroll", Level_List_Scroll);
  put_float("Level_List_Speed", Level_List_Speed);
  put("Hover_Level", Hover_Level);
  put("Zoom_Until", Zoom_Until);
  put("Hover_Icon", Hover_Icon);
  out << "Icon_States =";
  for (const T_ICON* icon : Icons) out << " " << (icon ? icon->State : 0);
  out << "\n";
  out << "Icon_Row =";
  for (const T_ICON* icon : Icons) out << " " << (icon ? icon->Index : 0);
  out << "\n";
  put("Official_Level_Count", Official_Level_Count);
  put("Tutorial_Active", Tutorial_Active);
  put("Tutorial_Waiting", Tutorial_Waiting);
  put("Tutorial_Hand_X", Tutorial_Hand_X);
  put("Tutorial_Hand_Y", Tutorial_Hand_Y);
  // The first 40 characters, never half of a surrogate pair.
  String info = Info_Text.substr(0, 40);
  if (!info.empty() && info.back() >= 0xD800 && info.back() <= 0xDBFF) info.pop_back();
  out << "Info_Text = " << ToUtf8(info) << "\n";
  put_float("Music_Volume", Music_Volume);
  put_float("Music_Channel_Volume", ChannelVolume(Music_Channel));
  put("Music_Channel_Playing", ChannelPlaying(Music_Channel));
  for (int name = 0; name < Effect_Name_Count; name++) {
    out << "Effect_" << EffectNameText(name) << " = " << Effects_Started[name] << "\n";
  }
  Image* icon = WindowIcon();
  out << "Window_Icon = " << (icon ? ImageWidth(icon) : 0) << "x" << (icon ? ImageHeight(icon) : 0) << "\n";
  put("Map_Selection", Map_Selection);
  put("Map_Selection_Shown", Map_Selection_Shown);
  put("Colour_Symbols", Colour_Symbols);
  put("Making_Level", Making_Level);
  put("Random_Level_Active", Random_Level.Active);
  out << "Random_Level_Code = " << LevelCodeText(Random_Level.Code) << "\n";
  put("Random_Level_Par", Random_Level.Par);
  put("Steps_Played", StepsPlayed());
  put("Level_Final_Steps", Level_Final_Steps);
  put("Par_Steps", Current_Par.steps);
  put("Par_Proven", Current_Par.proven);
  put("Redo_Steps", static_cast<long long>(Redo_Steps.size()));
  put("Hint_Stage", Hint_Stage);
  put("Hint_Waiting", Hint_Waiting);
  put("Hint_Outcome", Hint_Known ? Hint_Answer.outcome : 0);
  const SolveMove& hinted = Hint_Answer.step;
  bool step_known = Hint_Known && Hint_Answer.outcome == Hint_Step;
  out << "Hint_Step = " << (step_known ? MoveToken(hinted) : std::string("-")) << "\n";
  put("Hint_Shortest", step_known && Hint_Answer.shortest);
  put("Hint_Steps_Left", step_known ? Hint_Answer.steps_left : -1);
  put("Hint_Undos_Back", Hint_Known ? Hint_Answer.undos_back : -1);
  put("Dead_End_Watch", Dead_End_Watch);
  put("Par_Corner_Shown", Par_Corner_Shown);
  int in_par = 0;
  for (int level = 0; level < Official_Level_Count; level++) in_par += SolvedInPar(level);
  put("Levels_In_Par", in_par);
  return static_cast<bool>(out);
}

int ToInt(const std::string& word, int line_number, const std::string& line) {
  char* end = nullptr;
  long value = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0') Fail(line_number, line, "not a number '" + word + "'");
  return static_cast<int>(value);
}

void RunCommand(int n, const std::string& line) {
  std::istringstream in(line);
  std::string command;
  in >> command;
  std::vector<std::string> args;
  for (std::string word; in >> word;) args.push_back(word);
  auto need = [&](size_t count) {
    if (args.size() != count) Fail(n, line, "expected " + std::to_string(count) + " argument(s)");
  };
  auto arg = [&](size_t i) { return ToInt(args[i], n, line); };
  Driver& d = The_Driver;

  if (command == "desktop") {
    need(2);
    if (d.started) Fail(n, line, "the desktop size can only be set before the first frame");
    d.desktop_w = arg(0);
    d.desktop_h = arg(1);
    return;
  }
  if (command == "density") {
    need(1);
    if (d.started) Fail(n, line, "the density can only be set before the first frame");
    d.density = arg(0);
    if (d.density < 1 || d.density > 4) Fail(n, line, "the density must be 1 to 4");
    return;
  }
  if (command == "sleep") {
    need(1);
    d.slept += arg(0);
    return;
  }
  if (command == "today") {
    need(3);
    SetVirtualDate(arg(0), arg(1), arg(2));
    return;
  }
  if (command == "wait") {
    need(1);
    int count = arg(0);
    d.Start();
    for (int i = 0; i < count; i++) d.Frame();
    return;
  }
  // Every other command talks to the running game.
  if (command == "move") {
    need(2);
    d.Start();
    InjectPointer(arg(0), arg(1));
  } else if (command == "press" || command == "release") {
    need(1);
    int button = arg(0);
    if (button != 1 && button != 2) Fail(n, line, "button must be 1 or 2");
    d.Start();
    InjectButton(button, command == "press");
  } else if (command == "click") {
    need(2);
    d.Start();
    InjectPointer(arg(0), arg(1));
    InjectButton(1, 1);
    d.Frame();
    InjectButton(1, 0);
  } else if (command == "wheel") {
    need(1);
    d.Start();
    InjectWheel(arg(0));
  } else if (command == "key" || command == "keydown" || command == "keyup") {
    need(1);
    std::string name = args[0];
    int mods = 0;
    for (bool more = true; more;) {
      more = false;
      if (name.rfind("Ctrl+", 0) == 0 && name.size() > 5) {
        mods |= Inject_Ctrl;
        name = name.substr(5);
        more = true;
      } else if (name.rfind("Shift+", 0) == 0 && name.size() > 6) {
        mods |= Inject_Shift;
        name = name.substr(6);
        more = true;
      }
    }
    auto it = KeyNames().find(name);
    int code = it != KeyNames().end() ? it->second : 0;
    if (!code && name.size() == 1 && name[0] > 32 && name[0] < 127) code = name[0];
    if (!code) Fail(n, line, "unknown key '" + args[0] + "'");
    d.Start();
    if (command != "keyup") InjectKey(code, 1, mods);
    if (command != "keydown") InjectKey(code, 0, mods);
  } else if (command == "text") {
    std::string rest = line.size() > 5 ? line.substr(line.find("text") + 5) : "";
    if (rest.empty()) Fail(n, line, "expected characters");
    d.Start();
    InjectText(FromUtf8(rest));
  } else if (command == "touch") {
    need(2);
    d.Start();
    InjectTouch(1, static_cast<float>(arg(0)), static_cast<float>(arg(1)));
  } else if (command == "untouch") {
    need(0);
    d.Start();
    InjectTouch(0, 0, 0);
  } else if (command == "close") {
    need(0);
    d.Start();
    InjectCloseRequest();
  } else if (command == "shot") {
    need(1);
    d.Start();
    if (!SaveLastFrame(FromLatin1(args[0]))) Fail(n, line, "cannot write the picture");
  } else if (command == "state") {
    need(1);
    d.Start();
    if (!WriteState(args[0])) Fail(n, line, "cannot write the state");
  } else if (command == "compare") {
    need(0);
    d.Start();
    int64_t differing = PixelsUnlikeWholeRedraw();
    if (differing != 0) {
      Fail(n, line, differing < 0 ? "no frame to compare" : std::to_string(differing) + " pixels differ from the frame drawn whole");
    }
  } else if (command == "keep") {
    need(1);
    if (args[0] != "window" && args[0] != "texture") Fail(n, line, "expected window or texture");
    d.Start();
    KeepFrameInTexture(args[0] == "texture" ? 1 : 0);
  } else if (command == "pad") {
    if (args.empty()) Fail(n, line, "expected connect, disconnect, tap, down, up or axis");
    const std::string& what = args[0];
    d.Start();
    bool done = false;
    if (what == "connect" || what == "disconnect") {
      if (args.size() != 1) Fail(n, line, "expected no more arguments");
      done = what == "connect" ? ConnectVirtualPad() == 1 : (DisconnectVirtualPad(), true);
    } else if (what == "tap" || what == "down" || what == "up") {
      if (args.size() != 2) Fail(n, line, "expected a button");
      done = what == "up" || PressVirtualPadButton(args[1], 1) == 1;
      if (done && what != "down") done = PressVirtualPadButton(args[1], 0) == 1;
    } else if (what == "axis") {
      if (args.size() != 3) Fail(n, line, "expected an axis and a value");
      done = MoveVirtualPadAxis(args[1], ToInt(args[2], n, line)) == 1;
    } else {
      Fail(n, line, "unknown pad command '" + what + "'");
    }
    if (!done) Fail(n, line, "the controller cannot do that");
  } else if (command == "code") {
    need(1);
    d.Start();
    if (!StartLevelFromCode(args[0])) Fail(n, line, "not a level code");
  } else if (command == "ready") {
    need(0);
    d.Start();
    if (!WaitForMadeLevel(60000)) Fail(n, line, "no level was made within a minute");
  } else if (command == "level") {
    need(1);
    int number = arg(0);
    d.Start();
    if (number < 1 || number > Official_Level_Count) {
      Fail(n, line, "no level " + args[0] + " in a catalogue of " + std::to_string(Official_Level_Count));
    }
    Level_Index = number - 1;
    LoadOfficialLevel(Level_Bank, static_cast<int64_t>(Level_Index) * Level_Record_Size);
    EnterPlay(1);
  } else {
    Fail(n, line, "unknown command '" + command + "'");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quark-driver SCRIPT\n");
    return 1;
  }
  std::ifstream script(argv[1]);
  if (!script) {
    std::fprintf(stderr, "quark-driver: cannot read %s\n", argv[1]);
    return 1;
  }
  EnterHeadlessMode();
  std::string line;
  for (int n = 1; std::getline(script, line); n++) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    RunCommand(n, line.substr(first));
  }
  EndProgram();
}

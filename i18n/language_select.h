// The language screen: one flag per language file found in the language folder, laid out in
// centred rows over the splash picture; pointing at a flag names the language, a click picks it.
#pragma once

#include <memory>
#include <vector>

#include "platform/platform.h"

class T_LANG {
 public:
  String code;              // the file's "LCode"
  String name;              // the file's "LLanguage", the language's own name
  String file;              // full path; becomes Language_File when chosen
  Image* bitmap = nullptr;  // the flag, nullptr when it could not be loaded
  int x0 = 0, y0 = 0;       // the flag's cell on the board, corners inclusive
  int x1 = 0, y1 = 0;

  T_LANG() = default;
  ~T_LANG();
  T_LANG(const T_LANG&) = delete;
  T_LANG& operator=(const T_LANG&) = delete;

  // Appends an entry with its flag loaded; a flag that fails to load is reported and the
  // language is offered all the same.
  static void AddLanguage(const String& file, const String& code, const String& name,
                          const String& flagfile);
  // Lays the flags out in rows of 105-pixel steps, each row centred on the board.
  static void InitFlagsSelection();
  // The screen's update: hover sound, and on a click the language loads and the game moves on
  // to Return_Screen.
  static void DoFlagsSelection();
  void Draw();
  static void DrawFlagsSelection();
};

extern std::vector<std::unique_ptr<T_LANG>> Language_List;   // in the order the scan found them
extern T_LANG* Hovered_Language;                             // the flag under the pointer

// Rebuilds Language_List from the language files in Language_Dir. Always 0.
int ScanLanguages();

// The language screen: one flag per language file found in the language folder.
#pragma once

#include <vector>

#include "platform/platform.h"

class T_LANG {
 public:
  String code, name, file;
  Image* bitmap = nullptr;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

  static void AddLanguage(const String& file, const String& code, const String& name,
                          const String& flagfile);
  static void InitFlagsSelection();
  static void DoFlagsSelection();
  void Draw();
  static void DrawFlagsSelection();
};

extern std::vector<T_LANG*> Language_List;
extern T_LANG* Hovered_Language;

int ScanLanguages();

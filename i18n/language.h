// The texts of the current language: the table of T_LTEXT entries, the loader of a language
// file, and Translate, through which every text shown to the player is looked up.
#pragma once

#include <vector>

#include "platform/platform.h"

class T_LTEXT {
 public:
  String Key;    // upper-cased
  String Text;   // as written between the quotes

  // Appends an entry (no duplicate check: lookups take the first).
  static void AddText(const String& key, const String& text);
  // The text of `key` in any letter case. A key the file lacks gives "@" + the upper-cased
  // key, except the keys added after the first language files (the side-bar words and the
  // style screen's hint), which fall back to the game's English text.
  static String GetText(const String& key);
};

extern std::vector<T_LTEXT> Text_List;   // file order

// Replaces Text_List with the entries of a language file; 1 when the file could be opened,
// 0 when not (the old texts then stay).
int LoadLanguage(const String& path);
String Translate(const String& key);

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
  // The text of `key` in any letter case; a key the language file lacks (a file made for an
  // older version, or a player's own) reads as in the fallback texts, and a key they lack as
  // well as "@" + the upper-cased key.
  static String GetText(const String& key);
};

extern std::vector<T_LTEXT> Text_List;   // file order
// The texts of keys a language file lacks: the game's English, loaded at start.
extern std::vector<T_LTEXT> Fallback_Text_List;

// Replaces Text_List with the entries of a language file; 1 when the file could be opened,
// 0 when not (the old texts then stay).
int LoadLanguage(const String& path);
// Replaces Fallback_Text_List with the entries of a language file (none for an empty path);
// 1 when the file could be read.
int LoadFallbackLanguage(const String& path);
String Translate(const String& key);

// What the readers of the player's files promise for any bytes at all. The fuzz targets call
// these on every input; the test suite replays the corpus through them.
#pragma once

#include <cstdint>
#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "board/level_play.h"
#include "i18n/language.h"
#include "persist/profile.h"
#include "platform/platform.h"

namespace reader_checks {

struct KeptSettings {
  int Styles[6];
  int Screen_Mode;
  int Display_Quality;
  String Language_File;

  bool operator==(const KeptSettings&) const = default;
};

inline KeptSettings Snapshot() {
  KeptSettings k;
  for (int i = 0; i < 6; i++) k.Styles[i] = User_Style[i];
  k.Screen_Mode = Screen_Mode;
  k.Display_Quality = Display_Quality;
  k.Language_File = Language_File;
  return k;
}

inline void ProfileDefaults() {
  SetDefaultStyles();
  Screen_Mode = 0;
  SetDetailLevel(0);
  Language_File.clear();
  Level_Index = -1;
  Level_Elapsed = 0;
  Total_Play_Time = 0;
  Now = Start_Time = 0;
}

// The bytes are handed over as an embedded file, so no disk is in the loop. One byte more is
// kept so that even an empty input has storage to point at, as every real embedded file has.
inline String AsEmbeddedFile(const char16_t* name, const uint8_t* data, size_t size) {
  static std::vector<uint8_t> bytes;
  bytes.assign(data, data + size);
  bytes.push_back(0);
  RegisterResource(name, bytes.data(), size);
  return String(u"incbin::") + name;
}

// Any profile: the styles and modes it leaves are usable, and what it kept survives a write
// to `scratch` and a second read.
inline bool ProfileReadIsSound(const uint8_t* data, size_t size, const String& scratch) {
  ProfileDefaults();
  ReadProfile(AsEmbeddedFile(u"Fuzz/profile", data, size));
  const KeptSettings first = Snapshot();
  for (int style : first.Styles) {
    if (style < 0 || style >= Style_Sheet_Count) return false;
  }
  if (first.Screen_Mode < 0 || first.Screen_Mode > 2) return false;
  if (first.Display_Quality < 0 || first.Display_Quality > 2) return false;
  WriteProfile(scratch);
  ProfileDefaults();
  ReadProfile(scratch);
  return Snapshot() == first;
}

// Any language file loads; every entry has an upper-case key, and the lookup finds the first
// entry of each key.
inline bool LanguageLoadIsSound(const uint8_t* data, size_t size) {
  if (LoadLanguage(AsEmbeddedFile(u"Fuzz/language", data, size)) != 1) return false;
  for (size_t i = 0; i < Text_List.size(); i++) {
    const T_LTEXT& entry = Text_List[i];
    if (entry.Key.empty() || UpperCase(entry.Key) != entry.Key) return false;
    bool first = true;
    for (size_t k = 0; k < i && first; k++) first = Text_List[k].Key != entry.Key;
    if (first && Translate(entry.Key) != entry.Text) return false;
  }
  return true;
}

}  // namespace reader_checks

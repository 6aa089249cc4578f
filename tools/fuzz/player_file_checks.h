// What the game promises for any picture or language folder a player can supply. The fuzz
// targets call these on every input; the test suite replays the corpus through them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/assets.h"
#include "app/display.h"
#include "app/state.h"
#include "i18n/language.h"
#include "i18n/language_select.h"
#include "platform/platform.h"

namespace player_file_checks {

inline bool WriteFile(const String& path, const uint8_t* data, size_t size) {
  Stream* out = OpenWrite(path);
  if (!out) return false;
  const bool written = size == 0 || WriteBytes(out, data, static_cast<int>(size)) == static_cast<int>(size);
  return CloseStream(out) == 1 && written;
}

// Any bytes as a player's picture, at `path`: the header alone decides whether it is decoded,
// and what loads (whole or as a strip) is a PNG or JPEG of the size its header declares, at
// most Player_Picture_Side pixels each way.
inline bool PlayerPictureIsSound(const uint8_t* data, size_t size, const String& path) {
  int64_t w = -1, h = -1;
  const bool declared = PictureHeaderSize(data, size, &w, &h);
  if (declared && (w < 0 || h < 0 || w > UINT32_MAX || h > UINT32_MAX)) return false;
  const bool allowed = declared && w > 0 && h > 0 && w <= Player_Picture_Side && h <= Player_Picture_Side;
  if (!WriteFile(path, data, size)) return false;
  bool sound = true;
  Image* whole = LoadImage(path);
  if (whole && (!allowed || ImageWidth(whole) != w || ImageHeight(whole) != h || ImageFrames(whole) != 1)) sound = false;
  FreeImage(whole);
  Image* strip = LoadImageStrip(path, 8, 8, 1, 3);
  if (strip && (!allowed || ImageWidth(strip) != 8 || ImageFrames(strip) != 3)) sound = false;
  FreeImage(strip);
  return sound;
}

// The bytes before the first "FLAG" are a language file, those after it a flag picture, both
// put into `folder` (the language folder, which holds nothing else).
inline void WriteLanguageFolder(const uint8_t* data, size_t size, const std::string& folder) {
  static const char mark[] = "FLAG";
  const uint8_t* end = data + size;
  const uint8_t* at = std::search(data, end, mark, mark + 4);
  WriteFile(FromLatin1(folder + "/qUaRk_text_FZ.txt"), data, static_cast<size_t>(at - data));
  const uint8_t* flag = at == end ? end : at + 4;
  WriteFile(FromLatin1(folder + "/fz.png"), flag, static_cast<size_t>(end - flag));
}

// Any language file beside any flag: the scan offers it only with a code, a name the font
// draws and a flag file; a flag it cannot take is left out, never waited for; the flag's cell
// is a whole one on the board; and the file offered loads.
inline bool LanguageScanIsSound(const uint8_t* data, size_t size, const std::string& folder) {
  WriteLanguageFolder(data, size, folder);
  Language_Dir = FromLatin1(folder);
  ScanLanguages();
  if (Language_List.size() > 1) return false;
  T_LANG::InitFlagsSelection();
  for (const auto& lang : Language_List) {
    if (lang->code.empty() || lang->file != Language_Dir + u"/qUaRk_text_FZ.txt") return false;
    SetFont(Font_Main);
    const int width = TextWidth(lang->name);
    SetFont(nullptr);
    if (width <= 0) return false;
    if (lang->bitmap && (ImageWidth(lang->bitmap) > Player_Picture_Side || ImageHeight(lang->bitmap) > Player_Picture_Side)) {
      return false;
    }
    if (lang->x1 - lang->x0 != 100 || lang->y1 - lang->y0 != 75 || lang->x0 < 0 || lang->x1 >= 10 * Block_Size) return false;
    if (LoadLanguage(lang->file) != 1) return false;
  }
  Language_List.clear();
  Hovered_Language = nullptr;
  return true;
}

}  // namespace player_file_checks

// Language files: UTF-8 with a byte-order mark, CR LF line ends, a comment line naming the
// language, the three entries that describe the file, then every text key of the game.
#include "texts.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace {

struct Language {
  const char* Code;
  const char* Name;   // the language's own name, UTF-8 (right-to-left names stored reversed)
  const char* Flag;
};

const Language Languages[] = {
    {"FR", "Fran\xC3\xA7" "ais", "French.png"},
    {"EN", "English", "English.png"},
    {"NL", "Nederlands", "Dutch.png"},
    {"PT", "Portugu\xC3\xAAs", "Portuguese.png"},
    {"ES", "Espa\xC3\xB1ol", "Espanol.png"},
    {"PL", "Polski", "Polish.png"},
    {"DE", "Deutsch", "Deutsch.png"},
    {"HU", "Magyar", "Hungarian.png"},
    {"IT", "Italiano", "Italiano.png"},
    {"CN", "\xE4\xB8\xAD\xE6\x96\x87", "Chinese.png"},
    // "Ivrit" written right to left, stored in display order: tav, yod, resh, bet, ayin.
    {"HE", "\xD7\xAA\xD7\x99\xD7\xA8\xD7\x91\xD7\xA2", "Hebrew.png"},
    {"BG", "\xD0\x91\xD1\x8A\xD0\xBB\xD0\xB3\xD0\xB0\xD1\x80\xD1\x81\xD0\xBA\xD0\xB8", "Bulgarian.png"},
    {"SV", "Svenska", "Swedish.png"},
    {"ZA", "Afrikaans", "Suid-Afrika.png"},
    {"RO", "Rom\xC3\xA2n\xC4\x83", "Romanian.png"},
};

// "@" at the start of a word breaks the line; "@ @" leaves an empty line.
const char* Credits_Text =
    "qUaRk @2024 - the qUaRk team @ @Game concept @the qUaRk team @ @Computer version "
    "@the qUaRk team @ @Pictures, music and sounds @the qUaRk team @ @Tablet and phone version "
    "@the qUaRk team";

// The English texts of every key; the other languages carry them until they are translated.
const std::vector<std::pair<const char*, const char*>>& EnglishTexts() {
  static const std::vector<std::pair<const char*, const char*>> t = {
      {"Quark", "Quark"},
      {"Choose Language", "Choose your language"},
      {"Play", "Play"},
      {"One Player", "One Player"},
      {"Two Players", "Two Players"},
      {"Options", "Options"},
      {"Quit", "Quit"},
      {"Rules", "Rules"},
      {"Random", "Random"},
      {"Selection", "Selection"},
      {"Random Level", "Random Level"},
      {"Style", "Style"},
      {"Language", "Language"},
      {"Credits", "Credits"},
      {"Display", "Display"},
      {"Quality", "Quality"},
      {"Screen", "Screen"},
      {"Windowed", "Windowed"},
      {"Center", "Centered"},
      {"Full", "Best Fit"},
      {"Auto", "Auto"},
      {"Low", "Low"},
      {"High", "High"},
      {"Easy", "Easy"},
      {"Medium", "Medium"},
      {"Hard", "Hard"},
      {"Insane", "Insane"},
      {"Credits Text", Credits_Text},
      {"Congratulations", "Congratulations !"},
      {"Well Done", "Well Done !"},
      {"Can Do Better", "OK ! but..."},
      {"Time", "Time: "},
      {"Best Time", "Best"},
      {"Last Time", "Time"},
      {"New Record", "New Record !"},
      {"Old Record", "Old Record: "},
      {"Record", "Best Time: "},
      {"Tuto0", "Welcome to qUaRk @[Tutorial] @Touch the screen or click anywhere to continue."},
      {"Tuto1", "Quarkites are moved with the finger or by holding down the left mouse button."},
      {"Tuto2", "You can UNDO moves with the UNDO button or simply by right-clicking."},
      {"Tuto3", "Quarkites of the same color merge when joined together."},
      {"Tuto4", "Merge all quarkites of the same color to make them disappear."},
      {"Tuto6", "You win the game when all quarkites are gone."},
      {"Tuto7", "Voil\xC3\xA0 ! that's all. The first levels are very easy, the last levels are very "
                "difficult. Play as you want."},
  };
  return t;
}

bool WriteLanguage(const std::string& dir, const Language& lang) {
  std::string path = dir + "/qUaRk_text_" + lang.Code + ".txt";
  std::string out = "\xEF\xBB\xBF";
  out += std::string("{ language name ") + lang.Code + "\r\n";
  auto entry = [&](const std::string& key, const std::string& text) {
    out += "\"" + key + "\"\t=\t\"" + text + "\"\r\n";
  };
  entry("LCode", lang.Code);
  entry("LLanguage", lang.Name);
  entry("LFlagFile", lang.Flag);
  for (const auto& [key, text] : EnglishTexts()) entry(key, text);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "Can't write %s\n", path.c_str());
    return false;
  }
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool WriteLanguageFiles(const std::string& dir) {
  bool ok = true;
  for (const Language& lang : Languages) ok &= WriteLanguage(dir, lang);
  return ok;
}

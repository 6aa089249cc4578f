// Language files: UTF-8 with a byte-order mark, CR LF line ends, a comment line naming the
// language, the three entries that describe the file, then every text key of the game.
// Right-to-left texts are turned into display order here, since the game draws every text
// left to right.
#include "texts.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include "translations.h"

namespace {

std::vector<uint32_t> DecodeUtf8(const std::string& text) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int count = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    uint32_t code = count == 0 ? lead : lead & (0x3F >> count);
    for (int k = 1; k <= count && i + k < text.size(); k++) {
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    out.push_back(code);
    i += count + 1;
  }
  return out;
}

std::string EncodeUtf8(const std::vector<uint32_t>& codes) {
  std::string out;
  for (uint32_t c : codes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

enum Direction { LEFT_TO_RIGHT, RIGHT_TO_LEFT, NEUTRAL };

Direction DirectionOf(uint32_t c) {
  if (c >= 0x0590 && c <= 0x05FF) return RIGHT_TO_LEFT;
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0) {
    return LEFT_TO_RIGHT;
  }
  return NEUTRAL;
}

uint32_t Mirrored(uint32_t c) {
  switch (c) {
    case '(': return ')';
    case ')': return '(';
    case '[': return ']';
    case ']': return '[';
    case '<': return '>';
    case '>': return '<';
    default: return c;
  }
}

// One line of a right-to-left text in display order: the whole line reversed, except that runs
// of Latin letters and digits (qUaRk, a year, a font name) keep their own order. Spaces and
// punctuation belong to such a run only when Latin stands on both sides; elsewhere they follow
// the line and brackets turn round.
std::string DisplayLine(const std::string& logical) {
  const std::vector<uint32_t> codes = DecodeUtf8(logical);
  const size_t n = codes.size();
  std::vector<Direction> dir(n);
  for (size_t i = 0; i < n; i++) dir[i] = DirectionOf(codes[i]);
  for (size_t i = 0; i < n; i++) {
    if (dir[i] != NEUTRAL) continue;
    Direction before = RIGHT_TO_LEFT, after = RIGHT_TO_LEFT;
    for (size_t k = i; k-- > 0;) {
      if (DirectionOf(codes[k]) != NEUTRAL) {
        before = DirectionOf(codes[k]);
        break;
      }
    }
    for (size_t k = i + 1; k < n; k++) {
      if (DirectionOf(codes[k]) != NEUTRAL) {
        after = DirectionOf(codes[k]);
        break;
      }
    }
    dir[i] = before == LEFT_TO_RIGHT && after == LEFT_TO_RIGHT ? LEFT_TO_RIGHT : RIGHT_TO_LEFT;
  }
  std::vector<uint32_t> visual;
  for (size_t i = n; i-- > 0;) {
    if (dir[i] == RIGHT_TO_LEFT) {
      visual.push_back(Mirrored(codes[i]));
      continue;
    }
    // A left-to-right run, found from its end, goes in as it is.
    size_t start = i;
    while (start > 0 && dir[start - 1] == LEFT_TO_RIGHT) start--;
    for (size_t k = start; k <= i; k++) visual.push_back(codes[k]);
    i = start;
  }
  return EncodeUtf8(visual);
}

// Each line between "@" breaks turns round on its own, so lines still follow each other from
// the top. A trailing space is kept at the end: the game draws a number after such texts.
std::string DisplayOrder(const std::string& logical) {
  std::string body = logical;
  std::string tail;
  while (!body.empty() && body.back() == ' ') {
    body.pop_back();
    tail += ' ';
  }
  std::string out;
  size_t start = 0;
  for (;;) {
    const size_t brk = body.find(" @", start);
    out += DisplayLine(body.substr(start, brk == std::string::npos ? std::string::npos : brk - start));
    if (brk == std::string::npos) break;
    out += " @";
    start = brk + 2;
  }
  return out + tail;
}

// A text may hold neither a double quote (it would end the text) nor "{" (it starts a comment
// anywhere on a line), and none may be empty.
bool UsableText(const std::string& text) {
  return !text.empty() && text.find('"') == std::string::npos && text.find('{') == std::string::npos;
}

bool WriteLanguage(const std::string& dir, const Translation& lang) {
  const std::string path = dir + "/qUaRk_text_" + lang.Code + ".txt";
  std::map<std::string, std::string> texts;
  for (const auto& [key, text] : lang.Texts) {
    if (!texts.emplace(key, text).second) {
      std::fprintf(stderr, "%s: \"%s\" twice\n", lang.Code, key);
      return false;
    }
  }
  if (texts.size() != TextKeys().size()) {
    std::fprintf(stderr, "%s: %zu texts for %zu keys\n", lang.Code, texts.size(), TextKeys().size());
    return false;
  }
  auto shown = [&](const std::string& text) { return lang.Right_To_Left ? DisplayOrder(text) : text; };

  std::string out = "\xEF\xBB\xBF";
  out += std::string("{ language name ") + lang.Code + "\r\n";
  bool ok = true;
  auto entry = [&](const std::string& key, const std::string& text) {
    if (!UsableText(text)) {
      std::fprintf(stderr, "%s: unusable text for \"%s\"\n", lang.Code, key.c_str());
      ok = false;
    }
    out += "\"" + key + "\"\t=\t\"" + text + "\"\r\n";
  };
  entry("LCode", lang.Code);
  entry("LLanguage", shown(lang.Name));
  entry("LFlagFile", lang.Flag);
  for (const char* key : TextKeys()) {
    auto it = texts.find(key);
    if (it == texts.end()) {
      std::fprintf(stderr, "%s: no text for \"%s\"\n", lang.Code, key);
      return false;
    }
    entry(key, shown(it->second));
  }
  if (!ok) return false;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "Can't write %s\n", path.c_str());
    return false;
  }
  const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace

bool WriteLanguageFiles(const std::string& dir) {
  bool ok = true;
  for (const Translation& lang :
       {French(), English(), Dutch(), Portuguese(), Spanish(), Polish(), German(), Hungarian(),
        Italian(), Chinese(), Hebrew(), Bulgarian(), Swedish(), Afrikaans(), Romanian()}) {
    ok &= WriteLanguage(dir, lang);
  }
  return ok;
}

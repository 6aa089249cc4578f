// Text helpers: UTF-8 / UTF-16 / Latin-1 conversions, decimal numbers, upper case, trimming.
#include <cstdint>

#include "platform/internal_core.h"
#include "platform/platform.h"

uint32_t NextCodePoint(const String& text, size_t* i) {
  uint32_t u = text[(*i)++];
  if (u >= 0xD800 && u < 0xDC00) {
    if (*i < text.size() && text[*i] >= 0xDC00 && text[*i] < 0xE000) {
      uint32_t low = text[(*i)++];
      return 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
    }
    return 0xFFFD;
  }
  if (u >= 0xDC00 && u < 0xE000) return 0xFFFD;
  return u;
}

void AppendUtf8(std::string* out, uint32_t cp) {
  if (cp < 0x80) {
    out->push_back(char(cp));
  } else if (cp < 0x800) {
    out->push_back(char(0xC0 | (cp >> 6)));
    out->push_back(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(char(0xE0 | (cp >> 12)));
    out->push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(char(0xF0 | (cp >> 18)));
    out->push_back(char(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(char(0x80 | (cp & 0x3F)));
  }
}

// Malformed UTF-8 never stops decoding: each byte that does not start a valid sequence
// becomes U+FFFD, so a damaged file still reads as text.
String FromUtf8(const std::string& utf8) {
  String out;
  out.reserve(utf8.size());
  size_t i = 0, n = utf8.size();
  while (i < n) {
    uint8_t b = uint8_t(utf8[i]);
    uint32_t cp;
    size_t extra;
    if (b < 0x80) { cp = b; extra = 0; }
    else if (b >= 0xC2 && b < 0xE0) { cp = b & 0x1F; extra = 1; }
    else if (b >= 0xE0 && b < 0xF0) { cp = b & 0x0F; extra = 2; }
    else if (b >= 0xF0 && b < 0xF5) { cp = b & 0x07; extra = 3; }
    else { out.push_back(0xFFFD); i++; continue; }
    bool ok = true;
    for (size_t k = 1; k <= extra; k++) {
      if (i + k >= n || (uint8_t(utf8[i + k]) & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (uint8_t(utf8[i + k]) & 0x3F);
    }
    // Overlong forms, surrogates and values above U+10FFFF are not characters.
    if (ok && ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) ||
               (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))) {
      ok = false;
    }
    if (!ok) { out.push_back(0xFFFD); i++; continue; }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
  }
  return out;
}

std::string ToUtf8(const String& text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) AppendUtf8(&out, NextCodePoint(text, &i));
  return out;
}

String FromLatin1(const std::string& bytes) {
  String out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); i++) out[i] = char16_t(uint8_t(bytes[i]));
  return out;
}

std::string ToLatin1(const String& text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); i++) out[i] = char(text[i] & 0xFF);
  return out;
}

String IntText(int64_t value) {
  // Work on the magnitude as unsigned so the most negative value prints too.
  uint64_t m = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
  char16_t buf[24];
  int n = 0;
  do {
    buf[n++] = char16_t(u'0' + m % 10);
    m /= 10;
  } while (m);
  String out;
  if (value < 0) out.push_back(u'-');
  while (n) out.push_back(buf[--n]);
  return out;
}

int64_t TextToInt(const String& text) {
  size_t i = 0;
  while (i < text.size() && text[i] <= 32) i++;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  uint64_t v = 0;  // wraps instead of overflowing on absurdly long numbers
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') v = v * 10 + (text[i++] - u'0');
  return int64_t(negative ? uint64_t(0) - v : v);
}

String Trimmed(const String& text) {
  size_t a = 0, b = text.size();
  while (a < b && text[a] <= 32) a++;
  while (b > a && text[b - 1] <= 32) b--;
  return text.substr(a, b - a);
}

String ExtensionOf(const String& path) {
  size_t name = path.find_last_of(u"/\\");
  name = name == String::npos ? 0 : name + 1;
  size_t dot = path.rfind(u'.');
  if (dot == String::npos || dot < name) return String();
  return path.substr(dot + 1);
}

namespace {

// Simple upper-case mappings of the Basic Multilingual Plane above U+00B4, generated from the
// Unicode character database (version 14): rows of {first, last, step, delta}; a unit c with
// first <= c <= last and (c - first) divisible by step maps to c + delta.
struct UpperRow {
  uint16_t First, Last;
  int8_t Step;
  int32_t Delta;
};
const UpperRow Upper_Rows[] = {
  {0x00B5, 0x00B5, 1, 743},
  {0x00E0, 0x00F6, 1, -32},
  {0x00F8, 0x00FE, 1, -32},
  {0x00FF, 0x00FF, 1, 121},
  {0x0101, 0x012F, 2, -1},
  {0x0131, 0x0131, 1, -232},
  {0x0133, 0x0137, 2, -1},
  {0x013A, 0x0148, 2, -1},
  {0x014B, 0x0177, 2, -1},
  {0x017A, 0x017E, 2, -1},
  {0x017F, 0x017F, 1, -300},
  {0x0180, 0x0180, 1, 195},
  {0x0183, 0x0185, 2, -1},
  {0x0188, 0x0188, 1, -1},
  {0x018C, 0x018C, 1, -1},
  {0x0192, 0x0192, 1, -1},
  {0x0195, 0x0195, 1, 97},
  {0x0199, 0x0199, 1, -1},
  {0x019A, 0x019A, 1, 163},
  {0x019E, 0x019E, 1, 130},
  {0x01A1, 0x01A5, 2, -1},
  {0x01A8, 0x01A8, 1, -1},
  {0x01AD, 0x01AD, 1, -1},
  {0x01B0, 0x01B0, 1, -1},
  {0x01B4, 0x01B6, 2, -1},
  {0x01B9, 0x01B9, 1, -1},
  {0x01BD, 0x01BD, 1, -1},
  {0x01BF, 0x01BF, 1, 56},
  {0x01C5, 0x01C5, 1, -1},
  {0x01C6, 0x01C6, 1, -2},
  {0x01C8, 0x01C8, 1, -1},
  {0x01C9, 0x01C9, 1, -2},
  {0x01CB, 0x01CB, 1, -1},
  {0x01CC, 0x01CC, 1, -2},
  {0x01CE, 0x01DC, 2, -1},
  {0x01DD, 0x01DD, 1, -79},
  {0x01DF, 0x01EF, 2, -1},
  {0x01F2, 0x01F2, 1, -1},
  {0x01F3, 0x01F3, 1, -2},
  {0x01F5, 0x01F5, 1, -1},
  {0x01F9, 0x021F, 2, -1},
  {0x0223, 0x0233, 2, -1},
  {0x023C, 0x023C, 1, -1},
  {0x023F, 0x0240, 1, 10815},
  {0x0242, 0x0242, 1, -1},
  {0x0247, 0x024F, 2, -1},
  {0x0250, 0x0250, 1, 10783},
  {0x0251, 0x0251, 1, 10780},
  {0x0252, 0x0252, 1, 10782},
  {0x0253, 0x0253, 1, -210},
  {0x0254, 0x0254, 1, -206},
  {0x0256, 0x0257, 1, -205},
  {0x0259, 0x0259, 1, -202},
  {0x025B, 0x025B, 1, -203},
  {0x025C, 0x025C, 1, 42319},
  {0x0260, 0x0260, 1, -205},
  {0x0261, 0x0261, 1, 42315},
  {0x0263, 0x0263, 1, -207},
  {0x0265, 0x0265, 1, 42280},
  {0x0266, 0x0266, 1, 42308},
  {0x0268, 0x0268, 1, -209},
  {0x0269, 0x0269, 1, -211},
  {0x026A, 0x026A, 1, 42308},
  {0x026B, 0x026B, 1, 10743},
  {0x026C, 0x026C, 1, 42305},
  {0x026F, 0x026F, 1, -211},
  {0x0271, 0x0271, 1, 10749},
  {0x0272, 0x0272, 1, -213},
  {0x0275, 0x0275, 1, -214},
  {0x027D, 0x027D, 1, 10727},
  {0x0280, 0x0280, 1, -218},
  {0x0282, 0x0282, 1, 42307},
  {0x0283, 0x0283, 1, -218},
  {0x0287, 0x0287, 1, 42282},
  {0x0288, 0x0288, 1, -218},
  {0x0289, 0x0289, 1, -69},
  {0x028A, 0x028B, 1, -217},
  {0x028C, 0x028C, 1, -71},
  {0x0292, 0x0292, 1, -219},
  {0x029D, 0x029D, 1, 42261},
  {0x029E, 0x029E, 1, 42258},
  {0x0345, 0x0345, 1, 84},
  {0x0371, 0x0373, 2, -1},
  {0x0377, 0x0377, 1, -1},
  {0x037B, 0x037D, 1, 130},
  {0x03AC, 0x03AC, 1, -38},
  {0x03AD, 0x03AF, 1, -37},
  {0x03B1, 0x03C1, 1, -32},
  {0x03C2, 0x03C2, 1, -31},
  {0x03C3, 0x03CB, 1, -32},
  {0x03CC, 0x03CC, 1, -64},
  {0x03CD, 0x03CE, 1, -63},
  {0x03D0, 0x03D0, 1, -62},
  {0x03D1, 0x03D1, 1, -57},
  {0x03D5, 0x03D5, 1, -47},
  {0x03D6, 0x03D6, 1, -54},
  {0x03D7, 0x03D7, 1, -8},
  {0x03D9, 0x03EF, 2, -1},
  {0x03F0, 0x03F0, 1, -86},
  {0x03F1, 0x03F1, 1, -80},
  {0x03F2, 0x03F2, 1, 7},
  {0x03F3, 0x03F3, 1, -116},
  {0x03F5, 0x03F5, 1, -96},
  {0x03F8, 0x03F8, 1, -1},
  {0x03FB, 0x03FB, 1, -1},
  {0x0430, 0x044F, 1, -32},
  {0x0450, 0x045F, 1, -80},
  {0x0461, 0x0481, 2, -1},
  {0x048B, 0x04BF, 2, -1},
  {0x04C2, 0x04CE, 2, -1},
  {0x04CF, 0x04CF, 1, -15},
  {0x04D1, 0x052F, 2, -1},
  {0x0561, 0x0586, 1, -48},
  {0x10D0, 0x10FA, 1, 3008},
  {0x10FD, 0x10FF, 1, 3008},
  {0x13F8, 0x13FD, 1, -8},
  {0x1C80, 0x1C80, 1, -6254},
  {0x1C81, 0x1C81, 1, -6253},
  {0x1C82, 0x1C82, 1, -6244},
  {0x1C83, 0x1C84, 1, -6242},
  {0x1C85, 0x1C85, 1, -6243},
  {0x1C86, 0x1C86, 1, -6236},
  {0x1C87, 0x1C87, 1, -6181},
  {0x1C88, 0x1C88, 1, 35266},
  {0x1D79, 0x1D79, 1, 35332},
  {0x1D7D, 0x1D7D, 1, 3814},
  {0x1D8E, 0x1D8E, 1, 35384},
  {0x1E01, 0x1E95, 2, -1},
  {0x1E9B, 0x1E9B, 1, -59},
  {0x1EA1, 0x1EFF, 2, -1},
  {0x1F00, 0x1F07, 1, 8},
  {0x1F10, 0x1F15, 1, 8},
  {0x1F20, 0x1F27, 1, 8},
  {0x1F30, 0x1F37, 1, 8},
  {0x1F40, 0x1F45, 1, 8},
  {0x1F51, 0x1F57, 2, 8},
  {0x1F60, 0x1F67, 1, 8},
  {0x1F70, 0x1F71, 1, 74},
  {0x1F72, 0x1F75, 1, 86},
  {0x1F76, 0x1F77, 1, 100},
  {0x1F78, 0x1F79, 1, 128},
  {0x1F7A, 0x1F7B, 1, 112},
  {0x1F7C, 0x1F7D, 1, 126},
  {0x1F80, 0x1F87, 1, 8},
  {0x1F90, 0x1F97, 1, 8},
  {0x1FA0, 0x1FA7, 1, 8},
  {0x1FB0, 0x1FB1, 1, 8},
  {0x1FB3, 0x1FB3, 1, 9},
  {0x1FBE, 0x1FBE, 1, -7205},
  {0x1FC3, 0x1FC3, 1, 9},
  {0x1FD0, 0x1FD1, 1, 8},
  {0x1FE0, 0x1FE1, 1, 8},
  {0x1FE5, 0x1FE5, 1, 7},
  {0x1FF3, 0x1FF3, 1, 9},
  {0x214E, 0x214E, 1, -28},
  {0x2170, 0x217F, 1, -16},
  {0x2184, 0x2184, 1, -1},
  {0x24D0, 0x24E9, 1, -26},
  {0x2C30, 0x2C5F, 1, -48},
  {0x2C61, 0x2C61, 1, -1},
  {0x2C65, 0x2C65, 1, -10795},
  {0x2C66, 0x2C66, 1, -10792},
  {0x2C68, 0x2C6C, 2, -1},
  {0x2C73, 0x2C73, 1, -1},
  {0x2C76, 0x2C76, 1, -1},
  {0x2C81, 0x2CE3, 2, -1},
  {0x2CEC, 0x2CEE, 2, -1},
  {0x2CF3, 0x2CF3, 1, -1},
  {0x2D00, 0x2D25, 1, -7264},
  {0x2D27, 0x2D27, 1, -7264},
  {0x2D2D, 0x2D2D, 1, -7264},
  {0xA641, 0xA66D, 2, -1},
  {0xA681, 0xA69B, 2, -1},
  {0xA723, 0xA72F, 2, -1},
  {0xA733, 0xA76F, 2, -1},
  {0xA77A, 0xA77C, 2, -1},
  {0xA77F, 0xA787, 2, -1},
  {0xA78C, 0xA78C, 1, -1},
  {0xA791, 0xA793, 2, -1},
  {0xA794, 0xA794, 1, 48},
  {0xA797, 0xA7A9, 2, -1},
  {0xA7B5, 0xA7C3, 2, -1},
  {0xA7C8, 0xA7CA, 2, -1},
  {0xA7D1, 0xA7D1, 1, -1},
  {0xA7D7, 0xA7D9, 2, -1},
  {0xA7F6, 0xA7F6, 1, -1},
  {0xAB53, 0xAB53, 1, -928},
  {0xAB70, 0xABBF, 1, -38864},
  {0xFF41, 0xFF5A, 1, -32},
};

}  // namespace

String UpperCase(const String& text) {
  String out(text);
  const int rows = int(sizeof(Upper_Rows) / sizeof(Upper_Rows[0]));
  for (char16_t& u : out) {
    if (u >= u'a' && u <= u'z') {
      u = char16_t(u - 32);
    } else if (u > 180) {
      int lo = 0, hi = rows - 1, found = -1;  // the last row starting at or before u
      while (lo <= hi) {
        int mid = (lo + hi) / 2;
        if (Upper_Rows[mid].First <= u) { found = mid; lo = mid + 1; }
        else hi = mid - 1;
      }
      if (found >= 0) {
        const UpperRow& r = Upper_Rows[found];
        if (u <= r.Last && (u - r.First) % r.Step == 0) u = char16_t(u + r.Delta);
      }
    }
  }
  return out;
}

// The generated data files: picture geometry the game cuts frames from, the block-shape table,
// the language files, the sounds and the catalogue layout, read straight from Data/.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string Data_Dir = std::string(QUARK_SOURCE_DIR) + "/Data/";

std::vector<uint8_t> ReadAll(const std::string& name) {
  std::ifstream f(Data_Dir + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

uint32_t BigEndian32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

uint32_t Little32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// Width and height from the IHDR chunk, or (0, 0) when the file is no PNG.
std::pair<int, int> PngSize(const std::string& name) {
  auto b = ReadAll(name);
  const uint8_t magic[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (b.size() < 24 || std::memcmp(magic, b.data(), 8) != 0) return {0, 0};
  return {int(BigEndian32(b, 16)), int(BigEndian32(b, 20))};
}

// Width and height from the first start-of-frame marker, or (0, 0).
std::pair<int, int> JpegSize(const std::string& name) {
  auto b = ReadAll(name);
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return {0, 0};
  size_t i = 2;
  while (i + 9 < b.size()) {
    if (b[i] != 0xFF) return {0, 0};
    int marker = b[i + 1];
    int length = b[i + 2] << 8 | b[i + 3];
    if (marker >= 0xC0 && marker <= 0xC3) return {b[i + 7] << 8 | b[i + 8], b[i + 5] << 8 | b[i + 6]};
    i += 2 + size_t(length);
  }
  return {0, 0};
}

const std::vector<std::string>& StyleSheets() {
  static const std::vector<std::string> s = {
      "sucre_orge_rouge_1", "acide_1", "mandarine", "trucmuche_3", "coca_2", "dark_pool_3",
      "menthe_glace_2", "losanges", "dragon", "bois", "pomme_amour_1", "violine", "lustucru",
      "inclusion_1", "chocolat", "lego", "vichy_parme", "briques", "night_3", "radio_moon",
      "stellaire", "beurre", "gomme_red", "pierre_ponce", "purple_dots", "capitons", "carrelage",
      "caramel", "metal_indus", "danger", "menthe_verte_2", "caoutchouc", "malabar", "vichy_lemon",
      "scotch", "moule_choc", "sucre_orge_vert", "chocolat_blanc"};
  return s;
}

struct LanguageRow {
  std::string Code, Flag;
};
const std::vector<LanguageRow>& Languages() {
  static const std::vector<LanguageRow> l = {
      {"FR", "French.png"},     {"EN", "English.png"},   {"NL", "Dutch.png"},
      {"PT", "Portuguese.png"}, {"ES", "Espanol.png"},   {"PL", "Polish.png"},
      {"DE", "Deutsch.png"},    {"HU", "Hungarian.png"}, {"IT", "Italiano.png"},
      {"CN", "Chinese.png"},    {"HE", "Hebrew.png"},    {"BG", "Bulgarian.png"},
      {"SV", "Swedish.png"},    {"ZA", "Suid-Afrika.png"}, {"RO", "Romanian.png"}};
  return l;
}

TEST(DataFiles, PicturesHaveTheFrameGeometryTheGameCuts) {
  struct Case {
    std::string Name;
    int Frame_W, Frame_H, Frames;
  };
  std::vector<Case> cases = {
      {"qUaRk_fx_shadows.png", 48, 48, 28},        {"qUaRk_fx_highlight.png", 48, 48, 28},
      {"qUaRk_icones_normales.png", 64, 64, 11},   {"qUaRk_icones_light.png", 64, 64, 11},
      {"qUaRk_chiffres_10x16.png", 10, 16, 10},    {"souris_curseur_1.png", 160, 160, 1},
      {"souris_curseur_2.png", 160, 160, 1},       {"qUaRk_sprite_plateau.png", 260, 220, 1},
      {"qUaRk_sprite_plateau_highlighted.png", 260, 220, 1},
      {"qUaRk_sprite_bravo.png", 960, 768, 1},     {"qUaRk_screen_bumper.png", 960, 768, 1},
      {"menu_barre_vide.png", 64, 768, 1},
  };
  for (const auto& sheet : StyleSheets()) cases.push_back({"qUaRk_tiles_" + sheet + ".png", 48, 48, 30});
  for (const auto& lang : Languages()) cases.push_back({lang.Flag, 100, 75, 1});
  for (const auto& c : cases) {
    auto [w, h] = PngSize(c.Name);
    EXPECT_EQ(w, c.Frame_W * c.Frames) << c.Name;
    EXPECT_EQ(h, c.Frame_H) << c.Name;
  }
}

TEST(DataFiles, BackgroundsAreFullScreenJpegs) {
  for (const char* name : {"qUaRk_screen_fond.jpg", "qUaRk_screen_picots.jpg", "qUaRk_screen_menus.jpg",
                           "qUaRk_screen_style.jpg", "qUaRk_tuto.jpg"}) {
    auto [w, h] = JpegSize(name);
    EXPECT_EQ(w, 960) << name;
    EXPECT_EQ(h, 768) << name;
  }
}

// The quarter frames written independently of the generator, from the corner rule: the frame of a
// quarter depends on its vertical side neighbour A, horizontal side neighbour B and diagonal D.
int RuleFrame(int mask, int q) {
  static const int a_bit[4] = {1, 1, 16, 16}, b_bit[4] = {64, 4, 4, 64}, d_bit[4] = {128, 2, 8, 32};
  //                              none D   A   A+D  B  B+D A+B A+B+D
  static const int table[4][8] = {{20, 20, 16, 14, 0, 9, 7, 24},
                                  {21, 21, 17, 15, 1, 6, 8, 25},
                                  {23, 23, 19, 5, 3, 10, 12, 27},
                                  {22, 22, 18, 4, 2, 13, 11, 26}};
  bool a = mask & a_bit[q], b = mask & b_bit[q], d = mask & d_bit[q];
  return table[q][(b ? 4 : 0) + (a ? 2 : 0) + (d ? 1 : 0)];
}

TEST(DataFiles, ShapeTableFollowsTheCornerRuleForEveryMask) {
  auto t = ReadAll("TabFrame3.bin");
  ASSERT_EQ(t.size(), 1024u);
  for (int m = 0; m < 256; ++m)
    for (int q = 0; q < 4; ++q) ASSERT_EQ(t[size_t(m * 4 + q)], RuleFrame(m, q)) << "mask " << m << " quarter " << q;
  // Known shapes: lone block, fully surrounded, a horizontal pair, the top-left of a 2 x 2 square.
  struct Row {
    int Mask, F[4];
  };
  for (const Row& r : {Row{0, {20, 21, 23, 22}}, Row{255, {24, 25, 27, 26}}, Row{4, {20, 1, 3, 22}},
                       Row{64, {0, 21, 23, 2}}, Row{28, {20, 1, 27, 18}}})
    for (int q = 0; q < 4; ++q) EXPECT_EQ(t[size_t(r.Mask * 4 + q)], r.F[q]) << "mask " << r.Mask;
}

struct LanguageFile {
  bool Bom = false, Crlf = true;
  std::string First_Line;
  std::vector<std::pair<std::string, std::string>> Entries;
  bool Well_Formed = true;
};

LanguageFile ParseLanguage(const std::string& name) {
  LanguageFile out;
  auto b = ReadAll(name);
  std::string s(b.begin(), b.end());
  out.Bom = s.rfind("\xEF\xBB\xBF", 0) == 0;
  if (out.Bom) s = s.substr(3);
  size_t start = 0;
  bool first = true;
  while (start < s.size()) {
    size_t lf = s.find('\n', start);
    if (lf == std::string::npos) lf = s.size();
    if (lf == 0 || s[lf - 1] != '\r') out.Crlf = false;
    std::string line = s.substr(start, lf - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = lf + 1;
    if (first) {
      out.First_Line = line;
      first = false;
      continue;
    }
    if (line.empty()) continue;
    // "Key" <tab> = <tab> "Text": quotes only around the two fields, no comment sign anywhere.
    size_t k1 = line.find("\"\t=\t\"");
    if (line.front() != '"' || line.back() != '"' || k1 == std::string::npos ||
        line.find('{') != std::string::npos) {
      out.Well_Formed = false;
      continue;
    }
    std::string key = line.substr(1, k1 - 1), text = line.substr(k1 + 5, line.size() - k1 - 6);
    if (key.find('"') != std::string::npos || text.find('"') != std::string::npos) out.Well_Formed = false;
    out.Entries.push_back({key, text});
  }
  return out;
}

TEST(DataFiles, LanguageFilesShareTheirKeysAndDescribeThemselves) {
  std::vector<std::string> english_keys;
  for (const auto& lang : Languages()) {
    std::string name = "qUaRk_text_" + lang.Code + ".txt";
    LanguageFile f = ParseLanguage(name);
    EXPECT_TRUE(f.Bom) << name;
    EXPECT_TRUE(f.Crlf) << name;
    EXPECT_TRUE(f.Well_Formed) << name;
    EXPECT_EQ(f.First_Line, "{ language name " + lang.Code) << name;
    ASSERT_EQ(f.Entries.size(), 68u) << name;
    std::map<std::string, std::string> texts(f.Entries.begin(), f.Entries.end());
    EXPECT_EQ(texts.size(), 68u) << name << ": a key appears twice";
    EXPECT_EQ(texts["LCode"], lang.Code);
    EXPECT_EQ(texts["LFlagFile"], lang.Flag);
    EXPECT_FALSE(texts["LLanguage"].empty()) << name;
    EXPECT_TRUE(std::filesystem::exists(Data_Dir + lang.Flag)) << lang.Flag;
    for (const auto& [key, text] : f.Entries) EXPECT_FALSE(text.empty()) << name << " " << key;
    std::vector<std::string> keys;
    for (const auto& e : f.Entries) keys.push_back(e.first);
    if (english_keys.empty())
      english_keys = keys;
    else
      EXPECT_EQ(keys, english_keys) << name;
  }
  // The English texts the victory screen and the level list show.
  std::map<std::string, std::string> en;
  for (const auto& e : ParseLanguage("qUaRk_text_EN.txt").Entries) en[e.first] = e.second;
  EXPECT_EQ(en["Can Do Better"], "OK ! but...");
  EXPECT_EQ(en["Record"], "Best Time: ");
  EXPECT_EQ(en["Last Time"], "Time");
  EXPECT_EQ(en["Full"], "Best Fit");
  EXPECT_EQ(en.count("Tuto5"), 0u);
}

TEST(DataFiles, CreditsPageHasTitleMakerBlankAndFourCredits) {
  std::map<std::string, std::string> en;
  for (const auto& e : ParseLanguage("qUaRk_text_EN.txt").Entries) en[e.first] = e.second;
  // Lines end where a word starts with "@"; "@ @" leaves an empty line.
  std::vector<std::string> lines(1);
  std::string text = en["Credits Text"] + " ";
  size_t i = 0;
  while (i < text.size()) {
    size_t sp = text.find(' ', i);
    std::string word = text.substr(i, sp - i);
    i = sp + 1;
    if (!word.empty() && word[0] == '@') {
      lines.push_back(word.substr(1));
    } else {
      if (!lines.back().empty()) lines.back() += " ";
      lines.back() += word;
    }
  }
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], "qUaRk");
  EXPECT_TRUE(lines[2].empty());
  for (int k : {5, 8, 11}) EXPECT_TRUE(lines[size_t(k)].empty()) << k;
  for (int k : {3, 4, 6, 7, 9, 10, 12, 13}) EXPECT_FALSE(lines[size_t(k)].empty()) << k;
}

TEST(DataFiles, EffectsAreShortPcmWavesAndTheRestOggVorbis) {
  for (const char* name : {"Move2fred.wav", "Merge.wav", "Disappear.wav", "Click.wav", "MouseOver2.wav",
                           "Scroll_Map.wav"}) {
    auto b = ReadAll(name);
    ASSERT_GE(b.size(), 44u) << name;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << name;
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ") << name;
    EXPECT_EQ(b[20] | b[21] << 8, 1) << name << ": PCM";
    EXPECT_EQ(b[34] | b[35] << 8, 16) << name << ": 16-bit";
    uint32_t rate = Little32(b, 24), byte_rate = Little32(b, 28);
    EXPECT_TRUE(rate == 22050 || rate == 44100) << name;
    uint32_t data = Little32(b, 40);
    EXPECT_EQ(data + 44, b.size()) << name;
    EXPECT_LT(double(data) / byte_rate, 1.0) << name;
  }
  for (const char* name : {"qUaRk_SFX_Start_01.ogg", "SFX_Victory_Short_01.ogg", "SFX_Undo.ogg",
                           "qUaRk_SFX_Victory_01.ogg", "Quark_Menu.ogg", "Quark_InGame.ogg",
                           "Quark_Tuto.ogg"}) {
    auto b = ReadAll(name);
    ASSERT_GE(b.size(), 64u) << name;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "OggS") << name;
    EXPECT_EQ(std::string(b.begin() + 29, b.begin() + 35), "vorbis") << name;
    // The three music loops are stereo and over 90 s long; the effects stay small.
    EXPECT_LT(b.size(), (std::string(name).rfind("Quark_", 0) == 0 ? 1024u : 400u) * 1024) << name;
  }
}

TEST(DataFiles, CatalogueRecordsCarryTheirOwnShapes) {
  auto b = ReadAll("full2.lvl");
  ASSERT_FALSE(b.empty());
  ASSERT_EQ(b.size() % 404, 0u);
  const int dx[8] = {0, 1, 1, 1, 0, -1, -1, -1}, dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  for (size_t r = 0; r < b.size() / 404; ++r) {
    const uint8_t* rec = &b[r * 404];
    auto cell = [&](int x, int y) { return (x < 0 || y < 0 || x > 9 || y > 7) ? -1 : int(rec[4 + y * 10 + x]); };
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        int v = cell(x, y);
        ASSERT_LE(v, 6) << "record " << r;
        int mask = 0;
        for (int k = 0; k < 8; ++k)
          if (v > 0 && cell(x + dx[k], y + dy[k]) == v) mask |= 1 << k;
        for (int q = 0; q < 4; ++q)
          ASSERT_EQ(rec[84 + (y * 10 + x) * 4 + q], v > 0 ? RuleFrame(mask, q) : 0)
              << "record " << r << " cell " << x << "," << y;
      }
  }
}

TEST(DataFiles, OnlyTheGameFilesAreEmbeddedAndTheyStaySmall) {
  std::set<std::string> expected = {"TabFrame3.bin", "full2.lvl"};
  for (const auto& sheet : StyleSheets()) expected.insert("qUaRk_tiles_" + sheet + ".png");
  for (const auto& lang : Languages()) {
    expected.insert(lang.Flag);
    expected.insert("qUaRk_text_" + lang.Code + ".txt");
  }
  for (const char* n : {"qUaRk_fx_shadows.png", "qUaRk_fx_highlight.png", "qUaRk_icones_normales.png",
                        "qUaRk_icones_light.png", "qUaRk_chiffres_10x16.png", "souris_curseur_1.png",
                        "souris_curseur_2.png", "qUaRk_sprite_plateau.png",
                        "qUaRk_sprite_plateau_highlighted.png", "qUaRk_sprite_bravo.png", "qUaRk_symbols.png",
                        "qUaRk_screen_bumper.png", "menu_barre_vide.png", "qUaRk_screen_fond.jpg",
                        "qUaRk_screen_picots.jpg", "qUaRk_screen_menus.jpg", "qUaRk_screen_style.jpg",
                        "qUaRk_tuto.jpg", "Move2fred.wav", "Merge.wav", "Disappear.wav", "Click.wav",
                        "MouseOver2.wav", "Scroll_Map.wav", "qUaRk_SFX_Start_01.ogg",
                        "SFX_Victory_Short_01.ogg", "SFX_Undo.ogg", "qUaRk_SFX_Victory_01.ogg",
                        "Quark_Menu.ogg", "Quark_InGame.ogg", "Quark_Tuto.ogg"})
    expected.insert(n);
  uintmax_t total = 0;
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(Data_Dir)) {
    std::string name = entry.path().filename().string();
    if (name[0] == '.' || name.rfind("README", 0) == 0) continue;   // not embedded
    if (name.ends_with(".solutions.txt")) continue;                   // the generator's proof, not embedded
    found.insert(name);
    total += entry.file_size();
  }
  EXPECT_EQ(found, expected);
  EXPECT_LT(total, 4u * 1024 * 1024);
}

}  // namespace

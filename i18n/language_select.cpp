// The language screen: the scan of the language folder, the grid of flags, hover and choice.
#include "i18n/language_select.h"

#include <algorithm>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "i18n/language.h"
#include "i18n/text_reader.h"
#include "persist/string_parser.h"
#include "ui/menu.h"

std::vector<std::unique_ptr<T_LANG>> Language_List;
T_LANG* Hovered_Language = nullptr;

namespace {

constexpr int Cell_Step_X = 105;   // a 100-pixel flag and a 5-pixel gap
constexpr int Cell_Step_Y = 80;    // a 75-pixel flag and a 5-pixel gap

// The size query reports 0 for a folder, and "LFlagFile" = "" would name the language folder
// itself; neither is a picture to show.
bool IsFlagFile(const String& path) {
  if (FileSize(path) == -1) return false;
  if (Folder* folder = ReadFolder(path)) {
    CloseFolder(folder);
    return false;
  }
  return true;
}

// Reads the three entries that describe a language file; false when it cannot be opened.
bool ReadLanguageHeader(const String& path, String* code, String* name, String* flag) {
  std::unique_ptr<TextStream> stream = TextFileReader::CreateStream(path, 1, 0);
  if (!stream) return false;
  while (!stream->Eof()) {
    T_STRING_PARSER parser = T_STRING_PARSER::InitString(stream->ReadLine());
    parser.StripComments();
    if (parser.IsEmpty()) continue;
    const String key = UpperCase(parser.GetString());
    // A later line with the same key wins, as players expect when they append a correction.
    if (key == u"LCODE") {
      parser.GetCharacter();
      *code = parser.GetString();
    } else if (key == u"LLANGUAGE") {
      parser.GetCharacter();
      *name = parser.GetString();
    } else if (key == u"LFLAGFILE") {
      parser.GetCharacter();
      // A path holds the bytes of the file name, and names on disk are UTF-8: a flag called
      // "Espa\u00F1ol.png" in the text must become those bytes, not one byte per letter.
      *flag = Language_Dir + u"/" + FromLatin1(ToUtf8(parser.GetString()));
    }
  }
  stream->Close();
  return true;
}

// A flag that could not be loaded still needs a target to click: a dark cell with the
// language code, so the player can tell the languages apart until the picture is fixed.
void DrawMissingFlag(const T_LANG& lang) {
  const float w = static_cast<float>(lang.x1 - lang.x0 + 1);
  const float h = static_cast<float>(lang.y1 - lang.y0 + 1);
  SetColour(200, 200, 200);
  DrawRect(static_cast<float>(lang.x0), static_cast<float>(lang.y0), w, h);
  SetColour(60, 60, 60);
  DrawRect(static_cast<float>(lang.x0 + 2), static_cast<float>(lang.y0 + 2), w - 4, h - 4);
  int tw = TextWidth(lang.code);
  const int th = TextHeight(lang.code);
  const int room = static_cast<int>(w) - 10;
  if (tw > room && tw > 0) {
    SetScale(static_cast<float>(room) / static_cast<float>(tw), 1);
    tw = room;
  }
  SetColour(255, 255, 255);
  DrawText(lang.code, static_cast<float>(lang.x0 + (static_cast<int>(w) - tw) / 2),
           static_cast<float>(lang.y0 + (static_cast<int>(h) - th) / 2));
  SetScale(1, 1);
}

}  // namespace

T_LANG::~T_LANG() { FreeImage(bitmap); }

int ScanLanguages() {
  // The old entries go, and with them the hover: it must not point into freed entries.
  Hovered_Language = nullptr;
  Language_List.clear();
  Folder* folder = ReadFolder(Language_Dir);
  if (folder == nullptr) {
    ShowMessage(u"failed to read Data/ directory", 0);
    return 0;
  }
  // The name must be drawable in the font the screen shows it in.
  SetFont(Font_Main);
  for (String entry = NextFolderEntry(folder); !entry.empty(); entry = NextFolderEntry(folder)) {
    if (entry == u"." || entry == u"..") continue;
    if (UpperCase(ExtensionOf(entry)) != u"TXT" || entry.find(u"qUaRk_text_") == String::npos) continue;
    const String path = Language_Dir + u"/" + entry;
    String code, name, flag;
    if (!ReadLanguageHeader(path, &code, &name, &flag)) {
      ShowMessage(u"Error opening file: " + path, 0);
      continue;
    }
    if (!code.empty() && TextWidth(name) > 0 && IsFlagFile(flag)) {
      T_LANG::AddLanguage(path, code, name, flag);
    }
  }
  SetFont(nullptr);
  CloseFolder(folder);
  // The folder lists its files in whatever order the file system keeps them, which differs
  // between machines; players find their flag where they found it last time when the order is
  // the language codes', and two files with one code keep an order by their paths.
  std::stable_sort(Language_List.begin(), Language_List.end(), [](const auto& a, const auto& b) {
    const String ca = UpperCase(a->code), cb = UpperCase(b->code);
    return ca != cb ? ca < cb : a->file < b->file;
  });
  return 0;
}

void T_LANG::AddLanguage(const String& file, const String& code, const String& name,
                         const String& flagfile) {
  auto lang = std::make_unique<T_LANG>();
  lang->file = file;
  lang->code = code;
  lang->name = name;
  lang->bitmap = LoadImage(flagfile);
  if (lang->bitmap == nullptr) ShowMessage(u"error loading flag bitmap: " + flagfile, 0);
  Language_List.push_back(std::move(lang));
}

void T_LANG::InitFlagsSelection() {
  const int board_width = 10 * Block_Size;
  const int count = static_cast<int>(Language_List.size());
  // At least one flag a row, even on a board narrower than one flag.
  const int per_row = std::max(1, board_width / Cell_Step_X);
  const int rows = (count + per_row - 1) / per_row;
  int y = (Resolution_Y - rows * Cell_Step_Y + 5) / 2 + 40;
  int remaining = count;
  int column = 0;
  int x = 0;
  for (auto& lang : Language_List) {
    if (column == 0) {
      // Full rows and the last, shorter one are each centred on the board.
      const int in_row = remaining >= per_row ? per_row : remaining;
      x = (board_width - in_row * Cell_Step_X + 5) / 2;
    }
    lang->x0 = x;
    lang->x1 = x + 100;
    lang->y0 = y;
    lang->y1 = y + 75;
    x += Cell_Step_X;
    if (++column == per_row) {
      y += Cell_Step_Y;
      column = 0;
    }
    remaining--;
  }
}

void T_LANG::DoFlagsSelection() {
  // The side bar has its own hover and clicks; the last hover stays while the pointer is there.
  if (Mouse_X >= 10 * Block_Size) return;
  T_LANG* previous = Hovered_Language;
  Hovered_Language = nullptr;
  for (auto& lang : Language_List) {
    if (lang->x0 <= Mouse_X && Mouse_X <= lang->x1 && lang->y0 <= Mouse_Y && Mouse_Y <= lang->y1) {
      Hovered_Language = lang.get();
      // A finger has no hover, so touch play stays quiet.
      if (Hovered_Language != previous && Touch_Mode == 0) PlayEffect(Sfx_Mouse_Over);
    }
  }
  if (Mouse_Hit && Hovered_Language != nullptr) {
    PlayEffect(Sfx_Click);
    Language_File = Hovered_Language->file;
    LoadLanguage(Language_File);
    // The profile keeps the choice when it is next written; nothing is written now.
    GotoScreen(Return_Screen);
    Return_Screen = Screen_MainMenu;
  }
}

void T_LANG::Draw() {
  if (bitmap != nullptr) {
    SetColour(255, 255, 255);
    DrawImageRect(bitmap, static_cast<float>(x0), static_cast<float>(y0),
                  static_cast<float>(x1 - x0 + 1), static_cast<float>(y1 - y0 + 1));
  } else {
    DrawMissingFlag(*this);
  }
  if (this != Hovered_Language) return;
  const int w = TextWidth(name);
  const int x = (10 * Block_Size - w) / 2;
  const int y = Resolution_Y - (Resolution_X * 60) / 1024 - 20;
  // The shadow falls to the right only.
  SetColour(0, 0, 0);
  SetAlpha(0.5f);
  DrawText(name, static_cast<float>(x + 4), static_cast<float>(y));
  SetColour(255, 255, 255);
  SetAlpha(1);
  DrawText(name, static_cast<float>(x), static_cast<float>(y));
}

void T_LANG::DrawFlagsSelection() {
  SetBlend(BLEND_ALPHA);
  SetFont(Font_Main);
  for (auto& lang : Language_List) lang->Draw();
  SetColour(255, 255, 255);
  SetFont(nullptr);
}

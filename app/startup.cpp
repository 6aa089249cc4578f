// Program start: everything the first frame needs, in an order where each step relies only on
// the steps before it.
#include "app/startup.h"

#include <vector>

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/sidebar.h"
#include "app/state.h"
#include "board/level_play.h"
#include "board/moves.h"
#include "board/shapes.h"
#include "board/undo.h"
#include "fx/board_effects.h"
#include "fx/level_map.h"
#include "i18n/language.h"
#include "levels/best_scores.h"
#include "levels/catalogue.h"
#include "levels/pending_wins.h"
#include "levels/random_level.h"
#include "persist/profile.h"
#include "ui/menu.h"
#include "ui/menu_table.h"
#include "ui/tutorial.h"

namespace {
// The language files and flags copied to the player's folder, where the language screen finds
// them beside any the player adds.
const char16_t* const Exported_Files[] = {
    u"qUaRk_text_FR.txt", u"French.png",     u"qUaRk_text_EN.txt", u"English.png",
    u"qUaRk_text_ES.txt", u"Espanol.png",    u"qUaRk_text_NL.txt", u"Dutch.png",
    u"qUaRk_text_PL.txt", u"Polish.png",     u"qUaRk_text_PT.txt", u"Portuguese.png",
    u"qUaRk_text_DE.txt", u"Deutsch.png",    u"qUaRk_text_HU.txt", u"Hungarian.png",
    u"qUaRk_text_IT.txt", u"Italiano.png",   u"qUaRk_text_CN.txt", u"Chinese.png",
    u"qUaRk_text_HE.txt", u"Hebrew.png",     u"qUaRk_text_BG.txt", u"Bulgarian.png",
    u"qUaRk_text_SV.txt", u"Swedish.png",    u"qUaRk_text_ZA.txt", u"Suid-Afrika.png",
    u"qUaRk_text_RO.txt", u"Romanian.png",
};

void ComputeFileLocations() {
  User_Data_Dir = UserAppDataFolder() + u"/qUaRk";
  Language_Dir = User_Data_Dir;
  Undo_File = User_Data_Dir + u"/qUaRk_Undo.bin";
  Profile_File = User_Data_Dir + u"/qUaRk_User_Profile.txt";
  Best_Scores_File = User_Data_Dir + u"/qUaRk_Best_Scores.bin";
  Win_File = User_Data_Dir + u"/qUaRk_Win.bin";
}

// Copies that a kill left beside the files they were to replace ("_t", and ".tmp" from
// versions that wrote the profile so); they are never complete files of their own.
void RemoveStaleCopies() {
  std::vector<String> files = {Undo_File, Profile_File, Best_Scores_File, Win_File};
  for (const char16_t* name : Exported_Files) files.push_back(User_Data_Dir + u"/" + name);
  for (const String& file : files) {
    DeleteFile(TemporaryFileOf(file));
    DeleteFile(file + u".tmp");
  }
}

const String Embedded_Font_Url = u"incbin::Data/a2.ttf";
const String Fallback_Font_Url = u"incbin::Data/cjk_fallback.ttf";

// A file named .ttf may still be no font at all (a failed download, a renamed file), or a
// damaged one that loads but has no letters; taking it would leave every text in the tiny
// default face, or only the Chinese texts drawn (by the fallback face). A player's font must
// draw every basic Latin letter on its own, or else the chosen language's "Play".
bool FontServes(const String& url) {
  Font* probe = LoadFont(url, 12);
  if (probe == nullptr) return false;
  SetFont(probe);
  bool latin = true;
  for (char16_t c = u'A'; c <= u'Z' && latin; c++) {
    latin = TextWidth(String(1, c)) > 0 && TextWidth(String(1, static_cast<char16_t>(c - u'A' + u'a'))) > 0;
  }
  const bool language =
      !latin && !Language_File.empty() && LoadLanguage(Language_File) == 1 && TextWidth(Translate(u"Play")) > 0;
  SetFont(nullptr);
  FreeFont(probe);
  return latin || language;
}

// A TrueType file the player drops into the user folder replaces the game's font.
void ChooseFont() {
  Font_Url = u"";
  // Measured alone: the fallback face would lend the probe its own letters.
  SetFallbackFont(u"");
  if (Folder* folder = ReadFolder(User_Data_Dir)) {
    for (String entry = NextFolderEntry(folder); !entry.empty(); entry = NextFolderEntry(folder)) {
      if (entry == u"." || entry == u"..") continue;
      if (UpperCase(ExtensionOf(entry)) == u"TTF" && FontServes(User_Data_Dir + u"/" + entry)) {
        Font_Url = User_Data_Dir + u"/" + entry;
        break;
      }
    }
    CloseFolder(folder);
  }
  if (Font_Url.empty()) Font_Url = Embedded_Font_Url;
}

void ShowLoadingScreen() {
  SetClearColour(0, 0, 0);
  ClearViewport();
  PresentFrame(-1);
  ClearViewport();
  SetBlend(BLEND_SOLID);
  SetColour(255, 255, 255);
  DrawImageRect(Img_Bumper, 0, 0, static_cast<float>(10 * Block_Size), static_cast<float>(8 * Block_Size));
  SetColour(0, 0, 0);
  SetFont(Font_Main);
  SetBlend(BLEND_ALPHA);
  SetAlpha(0.4f);
  const String loading = u"Loading...";
  DrawText(loading, static_cast<float>((10 * Block_Size - TextWidth(loading)) / 2),
           static_cast<float>(Resolution_Y / 2 - 10));
  SetFont(nullptr);
  SetAlpha(1);
  SetColour(255, 255, 255);
  PresentFrame(-1);
}

// Whether the font in use can show the chosen language. The game's own font leans on the
// fallback face for Chinese, so it is measured with it; a player's font is measured alone,
// or a Latin-only face would pass for Chinese with every letter drawn by the fallback.
bool FontShowsLanguage() {
  if (Font_Url == Embedded_Font_Url) return TextWidth(Translate(u"Play")) > 0;
  SetFallbackFont(u"");
  const int width = TextWidth(Translate(u"Play"));
  SetFallbackFont(Fallback_Font_Url);
  return width > 0;
}

// The language chosen last time, when it still loads and the font can show it; otherwise the
// language screen, which at first start leads on into the tutorial.
void ChooseFirstScreen() {
  if (!Language_File.empty() && LoadLanguage(Language_File) == 1 && FontShowsLanguage()) {
    GotoScreen(Screen_MainMenu);
    return;
  }
  GotoScreen(Screen_First_Language);
  Return_Screen = Screen_Tutorial;
}
}  // namespace

namespace {

// A copy cut short by a full disk or a crash of an older version: the embedded file's first
// bytes, perhaps followed by zeros where the disk had not written yet. A player's own edit is
// never that, so it is kept however new it is.
bool IncompleteCopy(const String& path, const uint8_t* data, size_t size) {
  const int64_t on_disk = FileSize(path);
  if (on_disk < 0 || on_disk > static_cast<int64_t>(size)) return false;
  Stream* in = OpenRead(path);
  if (!in) return false;
  std::vector<uint8_t> bytes(static_cast<size_t>(on_disk));
  const bool read = ReadBytes(in, bytes.data(), static_cast<int>(bytes.size())) == static_cast<int>(bytes.size());
  CloseStream(in);
  if (!read) return false;
  size_t same = 0;
  while (same < bytes.size() && bytes[same] == data[same]) same++;
  if (same == size) return false;   // a complete copy
  for (size_t i = same; i < bytes.size(); i++) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

// Names of the copies that could not be written at this start, reported together once.
std::vector<String> Failed_Exports;

}  // namespace

int ExportDataFile(const String& name) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  if (!FindResource(u"Data/" + name, &data, &size)) return 0;
  String destination = User_Data_Dir + u"/" + name;
  int64_t source_time = FileTime(ProgramFile());
  int64_t destination_time = FileSize(destination) == -1 ? 0 : FileTime(destination);
  // Newer copies are the player's edits and stay, unless they are no more than a cut-short
  // copy of ours, which the language screen would offer broken at every start.
  if (source_time > destination_time || IncompleteCopy(destination, data, size)) {
    if (!ReplaceFile(destination, data, size)) {
      Failed_Exports.push_back(destination);
      return 0;
    }
  }
  return 1;
}

void ExportDataFiles() {
  Failed_Exports.clear();
  for (const char16_t* name : Exported_Files) ExportDataFile(name);
  if (Failed_Exports.empty()) return;
  // A full disk fails every copy: one message names the first and counts the rest.
  String message = u"Error writing file: " + Failed_Exports[0];
  if (Failed_Exports.size() > 1) message += u" (and " + IntText(static_cast<int64_t>(Failed_Exports.size() - 1)) + u" more)";
  ShowMessage(message, 0);
}

void SaveProfileAndQuit() {
  // A win that could not be written yet gets its last chance in this run.
  SettlePendingWins();
  WriteProfile(Profile_File);
  EndProgram();
}

void StartGame() {
  // Before anything the rules do can go unseen or unheard.
  InstallBoardEffects();
  ResetBoardState();
  ResetShellState();
  ResetMusic();
  ResetLevelPlay();
  ResetPendingWins();
  ResetBoardEffects();
  ResetLevelMap();
  ResetTutorial();
  ResetRandomLevel();
  VerifyMenuTable();
  RegisterEmbeddedData();
  SetWindowTitle(u"qUaRk");
  Img_Bumper = LoadImage(u"incbin::Data/qUaRk_screen_bumper.png");
  Img_Window_Icon = LoadImage(u"incbin::Data/window_icon.png");
  Catalogue_Url = u"incbin::Data/full2.lvl";
  Version_Label = u"F" + Version_Number;
  Profile_Version = Version_Label;

  ResetDisplay();
  Desktop_Width = DesktopWidth();
  Desktop_Height = DesktopHeight();
  DesktopUsableArea(&Usable_Width, &Usable_Height);
  Origin_X = (Desktop_Width - Resolution_X) / 2;
  Origin_Y = (Desktop_Height - Resolution_Y) / 2;

  SelectRenderer();
  ComputeFileLocations();
  // The parent folders may be missing on a fresh account, so they are created too.
  if (!CreateFolder(User_Data_Dir, 1)) {
    ShowMessage(u"Error creating user data directory: " + User_Data_Dir, 0);
    EndProgram(1);
  }
  RemoveStaleCopies();
  ExportDataFiles();

  SetDefaultStyles();
  // A language file made for an older version, or a player's own, lacks the newer keys: they
  // read as the game's English.
  LoadFallbackLanguage(u"incbin::Data/qUaRk_text_EN.txt");
  ReadProfile(Profile_File);
  Language_File = LanguageFileFromProfile(Language_File);
  ChooseFont();
  SetFallbackFont(Fallback_Font_Url);
  if (Language_File.empty()) FitDisplayToDesktop();
  ApplyDisplayMode();
  ShowLoadingScreen();

  LoadSoundsAndPictures();
  LoadStyleSheets();
  LoadIconStrips();
  Level_List_Scroll = static_cast<float>(Resolution_Y);
  InitIcons();
  LoadShapeTable(u"incbin::Data/TabFrame3.bin");
  StartFirstMusicChannel();

  if (!LoadCatalogue(Catalogue_Url)) {
    // Without a catalogue the map is empty rather than missing.
    Official_Bank = Level_Bank = CreateBuffer(0);
    Official_Level_Count = 0;
  }
  // A hand-edited profile or a shorter catalogue can name a level that does not exist; playing
  // it would read past the catalogue, so the game starts without a current level instead.
  if (Level_Index < -1 || Level_Index >= Official_Level_Count) {
    Level_Index = -1;
    Level_Elapsed = 0;
  }
  LinkBestScores();

  // A profile of another major version cannot trust the unfinished level on disk.
  if (Profile_Version.empty() || Profile_Version[0] != Version_Label[0]) {
    DeleteFile(Undo_File);
    Level_Index = -1;
  }
  // The random level in the profile is the one in play only while no catalogue level is.
  if (Level_Index != -1) Random_Level.Active = 0;
  InitUndoCount();
  // Wins that a kill or a full disk kept from the best-scores file are entered now, with the
  // time they were won in; a history that ends on their empty board then goes.
  LoadPendingWins();
  SettlePendingWins();
  DropWonHistory();

  Now = ReadClock();
  Start_Time = Now;
  SetMusic(Music_Flag);
  InitTouch();
  EnableGamepads();
  SetFont(Font_Main);

  ChooseFirstScreen();
  if (Level_Index > 0) {
    Level_List_Scroll = static_cast<float>(-((Level_Index / LevelMapColumns()) * 200));
  }
}

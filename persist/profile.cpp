// Reading and writing the user profile file.
#include "persist/profile.h"

#include "app/assets.h"
#include "app/display.h"
#include "app/music.h"
#include "app/state.h"
#include "board/hint_play.h"
#include "board/level_play.h"
#include "levels/random_level.h"
#include "persist/string_parser.h"

int64_t Total_Play_Time = 0;

int64_t PackLevelInfo(int level_index, int64_t level_elapsed) {
  // Bits 0-7 hold the low byte of the time, 8-20 the level + 1, the rest of the time above.
  // Unsigned arithmetic keeps out-of-range values from being undefined; they just wrap.
  const uint64_t elapsed = static_cast<uint64_t>(level_elapsed);
  const uint64_t level = static_cast<uint64_t>(static_cast<int64_t>(level_index) + 1);
  return static_cast<int64_t>(((elapsed & ~uint64_t{255}) << 13) + (elapsed & 255) + (level << 8));
}

void UnpackLevelInfo(int64_t packed, int* level_index, int64_t* level_elapsed) {
  *level_index = static_cast<int>((packed >> 8) & 8191) - 1;
  *level_elapsed = static_cast<int64_t>(static_cast<uint64_t>(packed >> 21) << 8) + (packed & 255);
}

String ProfileLanguageName(const String& language_file) {
  // A "{" starts a comment anywhere on a line and a quote ends the value, so a path holding
  // either would be cut on reading. Only then, and only for a file of the language folder, is
  // the file kept by its bare name, which reading resolves against the folder again.
  const auto cuts_the_line = [](const String& text) {
    return text.find(u'{') != String::npos || text.find(u'"') != String::npos;
  };
  if (!cuts_the_line(language_file)) return language_file;
  const String folder = Language_Dir + u"/";
  if (Language_Dir.empty() || language_file.size() <= folder.size() ||
      language_file.compare(0, folder.size(), folder) != 0) {
    return language_file;
  }
  const String name = language_file.substr(folder.size());
  return name.find(u'/') == String::npos && !cuts_the_line(name) ? name : language_file;
}

String LanguageFileFromProfile(const String& value) {
  if (value.empty() || value.find(u'/') != String::npos) return value;
  return Language_Dir + u"/" + value;
}

namespace {

// The whole file in its 8-bit encoding, each line ending in CR LF.
class ProfileText {
 public:
  void Line(const String& line) { Bytes += ToLatin1(line) + "\r\n"; }
  std::string Bytes;
};

void WriteProfileLines(ProfileText* out) {
  const int64_t total = Total_Play_Time + (Now - Start_Time);
  const int64_t days = total / 86400000;
  const int64_t hours = (total / 3600000) % 24;
  const int64_t minutes = (total / 60000) % 60;
  String styles;
  for (int k = 0; k < 6; k++) {
    if (k > 0) styles += u",";
    styles += IntText(User_Style[k]);
  }
  // The music state is what the player hears, so it comes from the fade target, not the flag.
  const String music = Music_Volume > 0 ? u"1" : u"0";

  out->Line(u"{ QUARK user config");
  out->Line(u"\"Version\" = \"" + Version_Label + u"\"");
  out->Line(u"");
  out->Line(u"\"Total Time\" = " + IntText(total) + u"     { " + IntText(days) + u" days, " +
            IntText(hours) + u" hours and " + IntText(minutes) + u" minutes.");
  out->Line(u"\"User Style\" = " + styles);
  out->Line(u"\"Music Flag\" = " + music + u" { 0/1");
  // A path is kept as the bytes of the system path (one per code unit), so the 8-bit file
  // carries any path the folder scan can produce; see ProfileLanguageName for the one path
  // that cannot be written whole.
  out->Line(u"\"Language\" = \"" + ProfileLanguageName(Language_File) + u"\"");
  out->Line(u"");
  out->Line(u"\"Screen Mode\" = " + IntText(Screen_Mode) +
            u" { 0:windowed, 1:Full screen centered, 2:full screen best fit");
  out->Line(u"");
  out->Line(u"{ Good screen resolutions: 640x448:56, 804x592:74, 1024x768:96, "
            u"1344x1024:128, 1564x1200:150");
  out->Line(u"");
  // The wanted sizes, not the ones in use: a size chosen with "+" or "-" must survive a start
  // on a desktop that cannot show it.
  out->Line(u"\"Resolution X\" = " + IntText(Wanted_Resolution_X) +
            u" { 10 * Block_Size + 64(SideBar)");
  out->Line(u"\"Resolution Y\" = " + IntText(Wanted_Resolution_Y) + u" { 8 * Block_Size");
  out->Line(u"\"Block Size\" = " + IntText(Wanted_Block_Size) + u" { should be an even number");
  out->Line(u"\"Border Fix\" = " + IntText(Border_Fix) +
            u" { 0:no fix, 1:if you have residual pixels around the screen in fullscreen modes");
  out->Line(u"");
  out->Line(u"\"Display Quality\" = " + IntText(Display_Quality) +
            u" { 0:automatic, 1:Low details, 2:High details");
  out->Line(u"\"Colour Symbols\" = " + IntText(Colour_Symbols) + u" { 0:colours only, 1:a symbol on each colour");
  out->Line(u"\"Dead End Watch\" = " + IntText(Dead_End_Watch) + u" { 0:off, 1:a mark as soon as a move leaves no way out");
  out->Line(u"");
  out->Line(u"{ Current game infos");
  out->Line(u"\"Current Level Info\" = " + IntText(PackLevelInfo(Level_Index, Level_Elapsed)) +
            u" { don't modify this");
  if (PlayingRandomLevel()) {
    out->Line(u"\"Random Level\" = \"" + FromUtf8(LevelCodeText(Random_Level.Code)) + u"\", " +
              IntText(Random_Level.Par) + u" { the random level in play: its code and its par");
  }
  out->Line(u"");
}

// Values a hand-edited profile may hold that would index outside a table or pick a mode that
// does not exist fall back to the default of their key.
int StyleOrDefault(int style, int kind) {
  return style >= 0 && style < Style_Sheet_Count ? style : kind;
}
int ModeOrDefault(int mode) { return mode >= 0 && mode <= 2 ? mode : 0; }

// Lines without "=" after their key: the first, by number, and how many. A damaged file can
// hold thousands, and a message box for each would keep the player clicking.
struct BadLines {
  int64_t Count = 0;
  int64_t First_Number = 0;
  String First;
};

// A line as a message can show it: no control characters, and not too long.
String Excerpt(const String& line) {
  constexpr size_t Longest = 60;
  String shown;
  for (char16_t c : line.substr(0, Longest)) shown.push_back(c < 32 ? u' ' : c);
  if (line.size() > Longest) shown += u"...";
  return shown;
}

void ReadProfileLine(const String& line, int64_t number, BadLines* bad) {
  T_STRING_PARSER parser = T_STRING_PARSER::InitString(line);
  parser.StripComments();
  if (parser.IsEmpty()) return;
  const String key = parser.GetString();
  if (key.empty()) return;
  if (parser.GetCharacter() != u"=") {
    if (bad->Count++ == 0) {
      bad->First_Number = number;
      bad->First = Excerpt(line);
    }
    return;
  }
  // A 32-bit setting keeps the low 32 bits of the 64-bit number.
  auto value32 = [&parser] { return static_cast<int>(static_cast<uint32_t>(parser.GetValue())); };

  if (key == u"Version") {
    Profile_Version = parser.GetString();
  } else if (key == u"Total Time") {
    Total_Play_Time = parser.GetValue();
  } else if (key == u"User Style") {
    for (int k = 0; k < 6; k++) {
      User_Style[k] = StyleOrDefault(value32(), k);
      parser.GetCharacter();
    }
  } else if (key == u"Music Flag") {
    Music_Flag = value32();
  } else if (key == u"Language") {
    Language_File = parser.GetString();
  } else if (key == u"Current Level Num") {
    // Subtracted in 32 unsigned bits: a number whose low bits read as the smallest int must
    // wrap like every other, not overflow.
    Level_Index = static_cast<int>(static_cast<uint32_t>(parser.GetValue()) - 1u);
  } else if (key == u"Current Level Timer") {
    Level_Elapsed = parser.GetValue();
  } else if (key == u"Current Level Info") {
    UnpackLevelInfo(parser.GetValue(), &Level_Index, &Level_Elapsed);
  } else if (key == u"Random Level") {
    LevelCode code;
    if (ParseLevelCode(ToUtf8(parser.GetString()), code)) {
      parser.GetCharacter();
      Random_Level.Active = 1;
      Random_Level.Code = code;
      Random_Level.Par = value32();
    }
  } else if (key == u"Current Game Type") {
    // Older profiles carry it; the game has one type only.
  } else if (key == u"Screen Mode") {
    Screen_Mode = ModeOrDefault(value32());
  } else if (key == u"Resolution X") {
    Resolution_X = Wanted_Resolution_X = value32();
  } else if (key == u"Resolution Y") {
    Resolution_Y = Wanted_Resolution_Y = value32();
  } else if (key == u"Block Size") {
    Block_Size = Wanted_Block_Size = value32();
  } else if (key == u"Border Fix") {
    Border_Fix = value32();
  } else if (key == u"Display Quality") {
    SetDetailLevel(ModeOrDefault(value32()));
  } else if (key == u"Colour Symbols") {
    Colour_Symbols = value32() == 1 ? 1 : 0;
  } else if (key == u"Dead End Watch") {
    SetDeadEndWatch(value32() == 1 ? 1 : 0);
  }
}

}  // namespace

void WriteProfile(const String& path) {
  // The old profile is replaced only once the new one is complete on disk (ReplaceFile), so a
  // crash, a kill or a full disk in the middle of the write never leaves the player without
  // settings. The rename would replace even a profile the player made read-only; such a
  // profile is theirs to keep as it is.
  if (FileSize(path) != -1 && !FileWritable(path)) {
    ShowMessage(u"Error writing profile: " + path, 0);
    return;
  }
  ProfileText text;
  WriteProfileLines(&text);
  if (!ReplaceFile(path, text.Bytes.data(), text.Bytes.size())) ShowMessage(u"Error writing profile: " + path, 0);
}

void ReadProfile(const String& path) {
  // Read access is enough: a profile the player made read-only still loads.
  Stream* in = OpenRead(path);
  if (in == nullptr) return;
  BadLines bad;
  for (int64_t number = 1; !StreamEof(in); number++) ReadProfileLine(ReadLine(in), number, &bad);
  CloseStream(in);
  if (bad.Count == 0) return;
  String message = u"Missing '=' in user profile ! Line " + IntText(bad.First_Number) + u": " + bad.First;
  if (bad.Count > 1) message += u" (" + IntText(bad.Count) + u" such lines)";
  ShowMessage(message, 0);
}

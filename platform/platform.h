// The platform layer: every service the game needs from the system (display, drawing, text,
// input, sound, clock, random numbers, files, byte buffers, embedded data, message box).
// Only the files of platform/ include SDL; the game sees opaque handles and plain values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Strings of the game are sequences of 16-bit code units. A path is a String whose code units
// are the bytes of the system path (each unit's low byte), so any path round-trips unchanged
// through the 8-bit profile file.
using String = std::u16string;

String FromUtf8(const std::string& utf8);    // decodes UTF-8 into UTF-16 code units
std::string ToUtf8(const String& text);      // encodes UTF-16 code units as UTF-8
String FromLatin1(const std::string& bytes); // each byte becomes one code unit
std::string ToLatin1(const String& text);    // each code unit's low byte
String IntText(int64_t value);               // decimal text, '-' for negatives
int64_t TextToInt(const String& text);       // decimal, optional leading '-', stops at a non-digit
String UpperCase(const String& text);        // a-z to A-Z, units above 180 by the Unicode table
String ExtensionOf(const String& path);      // text after the last '.' of the file name, "" when none
String Trimmed(const String& text);          // drops leading and trailing units <= 32

// ---- Handles. A failed load gives nullptr (or 0 for channels). ----
struct Image;      // a picture, or a strip of equal frames
struct Font;       // a TrueType face at one pixel size
struct Sound;      // a decoded effect, or Ogg data kept for streaming
struct Stream;     // an open file or embedded resource
struct Folder;     // an open folder listing
using Channel = int;  // 0 = none

// ---- Display and window ----
enum BlendMode { BLEND_SOLID = 2, BLEND_ALPHA = 3, BLEND_LIGHT = 4 };

void SelectRenderer();                  // before the first OpenDisplay: accelerated, else software
// depth 0: a window with a w x h client area; depth 32: full screen (the desktop's full screen).
// Reopening keeps every loaded image valid; fonts are reloaded by the game.
void OpenDisplay(int w, int h, int depth, int hertz);
int DesktopWidth();
int DesktopHeight();
// The part of the desktop that windows may cover (without panels and docks), in window units.
void DesktopUsableArea(int* w, int* h);
// What the system adds around the window's client area (title bar and borders), in total
// across and down; a usual title bar while the system cannot say yet; 0 in headless runs.
void WindowFrameSize(int* w, int* h);
void SetWindowTitle(const String& title);   // applied now and whenever the display opens
void SetWindowIcon(Image* icon);            // applied now and whenever the display opens
Image* WindowIcon();                        // the icon last set
void PresentFrame(int sync);                // 1: wait for the vertical blank; -1: pace to 60 Hz
bool PresentWaitsForVerticalBlank();        // else the game paces its frames by the clock
int CloseRequested();                       // 1 once after the user asked to close the window
[[noreturn]] void EndProgram(int status = 0);   // ends the process at once with this exit status

// ---- Drawing state (applies to every later draw until changed) ----
void SetOrigin(float x, float y);                 // added to the coordinates of every draw
void SetViewport(int x, int y, int w, int h);     // clip rectangle, window coordinates
void SetClearColour(int r, int g, int b);
void ClearViewport();                             // fills the current viewport only
void SetColour(int r, int g, int b);              // multiplies images and text; colour of rects
void SetAlpha(float a);
void SetBlend(int mode);                          // BlendMode
void SetScale(float sx, float sy);                // around each draw's position
void SetFont(Font* font);                         // nullptr: the built-in default font
float GetAlpha();
float GetScaleX();
float GetScaleY();

// ---- Drawing ----
void DrawImage(Image* img, float x, float y, int frame = 0);
void DrawImageRect(Image* img, float x, float y, float w, float h, int frame = 0);
// Only the parts of what DrawImageRect(img, x, y, w, h, frame) draws, each (px, py, pw, ph) in
// the game's units from that draw's top left corner, four floats per part, with exactly the
// pixels the whole draw gives there; when any part cannot be cut cleanly (a position between
// pixels, a size that cannot be kept) it draws the whole once instead.
void DrawImageRectParts(Image* img, float x, float y, float w, float h, int frame, const float* parts, int count);
void DrawRect(float x, float y, float w, float h);
void DrawText(const String& text, float x, float y);
// Everything drawn so far in this frame is its backdrop, which seldom changes from one frame to
// the next (the background and the blocks); what follows moves. Only a hint: it makes frames
// cheaper and never changes what they show.
void MarkBackdrop();
int TextWidth(const String& text);    // unscaled, current font; a unit no font has measures 0
int TextHeight(const String& text);
// 1 when the current font or the fallback face has a glyph for the character (a code point).
int GlyphAvailable(int codepoint);

// ---- Images and fonts ----
constexpr int IMAGE_DEFAULT = -1;   // pure black becomes transparent, bilinear filtering
constexpr int IMAGE_FILTERED = 1;   // bilinear filtering (other flags than the default)
constexpr int IMAGE_MASKED = 2;     // pure black becomes transparent
constexpr int IMAGE_GRABBABLE = 8;  // pixels come from GrabImage
// A picture from the player's files (any url that is not embedded data) is refused unless its
// header declares a PNG or JPEG of at most Player_Picture_Side pixels each way.
constexpr int Player_Picture_Side = 4096;
Image* LoadImage(const String& url, int flags = IMAGE_DEFAULT);
Image* LoadImageStrip(const String& url, int w, int h, int first, int count, int flags = IMAGE_DEFAULT);
Image* CreateImage(int w, int h, int frames, int flags);
void GrabImage(Image* img, int x, int y, int frame = 0);   // back buffer at window (x, y)
void FreeImage(Image* img);
int ImageWidth(Image* img);    // one frame
int ImageHeight(Image* img);
int ImageFrames(Image* img);
// Opaque_Left | Opaque_Top | Opaque_Right | Opaque_Bottom: the sides an inset is taken from.
enum { Opaque_Left = 1, Opaque_Top = 2, Opaque_Right = 4, Opaque_Bottom = 8 };
// The least inset, in the picture's own pixels, such that a frame without a border that wide on
// the given sides is fully opaque everywhere (what is drawn under it at full alpha cannot show);
// -1 when there is none or the pixels cannot be read.
int ImageOpaqueInset(Image* img, int frame, int sides);
// The size a PNG or JPEG file declares in its header, read without decoding anything; false for
// other kinds of file and for headers that are cut short or damaged.
bool PictureHeaderSize(const uint8_t* data, size_t size, int64_t* w, int64_t* h);
constexpr int FONT_SMOOTH = 4;
Font* LoadFont(const String& url, int size, int style = FONT_SMOOTH);
void FreeFont(Font* font);
// The fallback face used for characters the current font lacks (CJK text).
void SetFallbackFont(const String& url);

// ---- Input (hit counts are reset by reading them) ----
enum KeyCode {
  KEY_ENTER = 13, KEY_ESCAPE = 27, KEY_SPACE = 32, KEY_PAGE_UP = 33, KEY_PAGE_DOWN = 34,
  KEY_END = 35, KEY_HOME = 36, KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40,
  KEY_BACKSPACE = 8, KEY_F1 = 112,
  // A game controller's shoulder buttons: "-" and "+" on most screens, a page on the level map.
  KEY_PAD_LEFT_SHOULDER = 200, KEY_PAD_RIGHT_SHOULDER = 201
};
void PollSystemEvents();           // takes the system's pending events into the input state
int MouseX();                      // window pixels
int MouseY();
int MouseZ();                      // accumulated wheel notches
int MouseHit(int button);          // presses since the last call for that button (1 left, 2 right)
int MouseDown(int button);
void FlushMouse();
void FlushKeys();
void ShowPointer();
void HidePointer();
void MovePointer(int x, int y);
int KeyHit(int code);              // KeyCode
int KeyDown(int code);
int NextChar();                    // next typed character, 0 when none; Escape 27, Backspace 8
// Ctrl with a letter types the letter's control character (Ctrl+A 1 ... Ctrl+Z 26; not H, I, J
// and M, which would read as Backspace, Tab, a new line and Enter); with Shift held as well it
// types Char_Ctrl_Shift + that character, which no keyboard types otherwise.
constexpr int Char_Ctrl_Shift = 0x110000;

// Game controllers, connected and disconnected while the game runs: the d-pad and the left stick
// are the arrow keys, A is Space, B Backspace, X types "r", Y types "?", Start is Escape, and
// the shoulders are KEY_PAD_LEFT_SHOULDER and KEY_PAD_RIGHT_SHOULDER.
void EnableGamepads();
int GamepadCount();   // controllers connected now

struct TouchPoint {
  int Primary = 0;       // the first finger of the gesture
  int New_Contact = 0;   // went down since the previous poll
  float Start_X = 0, Start_Y = 0;   // first contact, window pixels
  float X = 0, Y = 0;               // current position, window pixels
};
void EnableTouch();
int TouchReady();
std::vector<TouchPoint> TouchPoints();   // the active points

// ---- Clock and random numbers ----
uint32_t Millisecs();                // milliseconds since start (virtual in the test driver)
int Rand(int lo, int hi);            // uniform in [lo, hi], bounds swapped when hi < lo
double Rnd(double lo, double hi);    // uniform in [lo, hi)
void SeedRandom(int32_t state);      // tests only; the game never reseeds (start state 4660)
double SinDeg(double degrees);
// Today's date on this machine's local calendar (virtual, 2026-01-01 unless set, in the test
// driver), and a seed no two runs are likely to share (the game's own random numbers in the
// test driver, so its runs repeat).
void LocalDate(int* year, int* month, int* day);
uint32_t FreshSeed();

// ---- Audio ----
constexpr int SOUND_LOOP = 1;     // loops forever when played
constexpr int SOUND_STREAM = 2;   // kept as Ogg data and streamed on the music channel
Sound* LoadSound(const String& url, int flags = 0);
void PlaySound(Sound* sound);           // a new channel at volume 1; not kept
Channel CueSound(Sound* sound);         // a new channel, paused; a streamed sound replaces
                                        // the previous streamed channel, which stops
void ResumeChannel(Channel ch);
void StopChannel(Channel ch);
void SetChannelVolume(Channel ch, float volume);   // 0..1
float ChannelVolume(Channel ch);
int ChannelPlaying(Channel ch);

// ---- Streams and files (urls are paths or "incbin::" + an embedded name) ----
Stream* OpenRead(const String& url);
Stream* OpenWrite(const String& path);          // creates or truncates
Stream* OpenReadWrite(const String& path);      // an existing file, read and write
int StreamEof(Stream* s);
int64_t StreamSize(Stream* s);
int64_t StreamPos(Stream* s);
void StreamSeek(Stream* s, int64_t pos);
int ReadByte(Stream* s);                        // 0..255, 0 at the end
void WriteByte(Stream* s, int byte);
int ReadBytes(Stream* s, void* dst, int count); // returns how many were read
int WriteBytes(Stream* s, const void* src, int count);  // returns how many were written
String ReadLine(Stream* s);                     // to LF, NUL or the end; CR dropped; Latin-1
void WriteLine(Stream* s, const String& line);  // low bytes, then CR LF
void WriteString(Stream* s, const String& text);
int StreamFailed(Stream* s);                    // 1 after a write that did not go through
int FlushToDisk(Stream* s);                     // 1 when the bytes reached the disk
int CloseStream(Stream* s);                     // 1 when every byte written went into the file
int64_t FileSize(const String& path);           // -1 when missing
int64_t FileTime(const String& path);           // seconds; 0 when missing
int DeleteFile(const String& path);             // 1 on success
int FileWritable(const String& path);           // 1 when the file exists and may be written by us
int RenameFile(const String& from, const String& to);   // replaces `to`; 1 on success
// Every player file and exported file is written through this: the bytes go to a temporary
// copy beside the file (TemporaryFileOf), are synced to the disk, and the copy is renamed over
// the file, whose folder is synced in turn; every step is checked. 1 when the new file is in
// place; on failure the old file is untouched and the copy removed. Reporting is the caller's.
int ReplaceFile(const String& path, const void* data, size_t size);
String TemporaryFileOf(const String& path);     // path + "_t"
int CreateFolder(const String& path, int recursive);    // 1 when the folder exists afterwards
Folder* ReadFolder(const String& path);         // nullptr when it cannot be read
String NextFolderEntry(Folder* f);              // "." and ".." included; "" after the last
void CloseFolder(Folder* f);
String UserAppDataFolder();                     // $XDG_DATA_HOME or ~/.local/share, no trailing /
String ProgramFile();                           // path of the running executable

// ---- Byte buffers (little-endian, bytes unsigned) ----
struct ByteBuffer {
  std::vector<uint8_t> Bytes;
};
ByteBuffer* CreateBuffer(int size);
ByteBuffer* LoadBuffer(const String& url);      // nullptr when it cannot be read
int SaveBuffer(ByteBuffer* buf, const String& path);   // 1 when all bytes were written
int BufferSize(const ByteBuffer* buf);
void ResizeBuffer(ByteBuffer* buf, int size);
int PeekByte(const ByteBuffer* buf, int offset);
int PeekShort(const ByteBuffer* buf, int offset);
int PeekInt(const ByteBuffer* buf, int offset);
void PokeByte(ByteBuffer* buf, int offset, int value);
void PokeShort(ByteBuffer* buf, int offset, int value);
void PokeInt(ByteBuffer* buf, int offset, int value);

// ---- Embedded resources ----
void RegisterResource(const String& name, const uint8_t* data, size_t size);
// The bytes of "incbin::" + name; false when nothing has that name.
bool FindResource(const String& name, const uint8_t** data, size_t* size);

// ---- System ----
void ShowMessage(const String& text, int serious);   // headless: to standard error, no wait
void OpenUrl(const String& address);

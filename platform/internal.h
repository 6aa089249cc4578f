// State shared between the files of the platform layer; nothing outside platform/ includes it.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/internal_core.h"
#include "platform/platform.h"

// A loaded picture keeps where its pixels come from rather than the pixels: it is decoded at
// its first draw, every frame gets its texture, and the decoded surfaces are dropped; a new
// renderer decodes it again. So a picture can be loaded before any display exists, survives
// every reopening of the display, and one that is never drawn costs nothing. Pictures made by
// CreateImage (and any picture GrabImage wrote into) have no source and keep one surface per
// frame, from which textures are made at the first draw and after every grab.
struct Image {
  int W = 0, H = 0;                    // one frame
  bool Filter = true;                  // bilinear filtering when scaled
  String Source;                       // the url decoded from; empty when the surfaces are kept
  std::vector<uint8_t> Source_Bytes;   // a file's bytes (embedded data is read where it lies)
  bool Masked = false;                 // pure black becomes transparent when decoded
  int First = -1;                      // a strip's first frame in the picture; -1: the whole picture
  bool Undecodable = false;            // the source failed to decode: drawn as nothing from then on
  std::vector<SDL_Surface*> Frames;    // ARGB8888, W x H each; nullptr while not decoded
  std::vector<SDL_Texture*> Textures;  // per frame, nullptr until drawn
  std::vector<uint64_t> Texture_Generation;
  std::vector<uint64_t> Texture_Version; // content version of each texture (NextTextureVersion)
  std::vector<char> Stale;             // the surface changed since the texture was made
  // Per frame and set of sides, the inset beyond which the frame is opaque (ImageOpaqueInset);
  // -2 while not worked out. Forgotten when the frame's pixels change.
  std::vector<std::array<int8_t, 16>> Opaque_Insets;
};

struct Font {
  int Id = 0;                          // never reused, so cached text of a freed font never matches
  int Size = 0;                        // in the game's units
  float Ratio = 1;                     // the pixels per unit it was opened for (Pixel_Ratio then)
  int Pixel_Size = 0;                  // the size its faces were opened at: sharp at that density
  int Style = 0;
  TTF_Font* Ttf = nullptr;
  std::vector<uint8_t> Bytes;          // the file's bytes when it did not come from embedded data
  TTF_Font* Fallback = nullptr;        // the fallback face at the same size, opened on demand
  int Fallback_Generation = -1;
};

// ---- Shared state ----
extern bool Headless_Mode;
extern SDL_Window* Window;
extern SDL_Renderer* Renderer;
extern uint64_t Renderer_Generation;   // changes whenever textures of an older renderer are void
// The window's pixels per unit of the game's coordinates, which are the window's own units
// (the pointer's too): 2 when a high-density display gives the renderer twice the window's
// size, 1 elsewhere. Every draw is scaled by it, so the game draws in real pixels.
extern float Pixel_Ratio;
void UpdatePixelRatio();                 // after the window, its size or its display changed
void WindowUnits(int* w, int* h);        // the window's size in the game's units
extern String Window_Title;

// ---- SDL start-up (each returns true when the subsystem works) ----
bool EnsureEvents();
bool EnsureVideo();
// Decides between the accelerated and SDL's software renderer and sets the hints that go with
// it; EnsureVideo calls it before video starts, once.
void ChooseRendererKind();
bool EnsureTtf();
bool EnsureImage();
// True when nobody can see a window: headless mode, the dummy driver or no video at all.
bool NoVisibleDisplay();

// ---- Paths and urls (and platform/internal_core.h) ----
// A read-only SDL stream over a url; nullptr when it cannot be opened. `keep` receives the
// bytes of a file so they outlive the stream (embedded bytes live as long as the program).
SDL_RWops* OpenUrlRw(const String& url, std::vector<uint8_t>* keep, size_t max_size = SIZE_MAX);

// ---- Drawing helpers shared by images and text ----
// Makes (or refreshes) the texture of a frame for the current renderer; nullptr without one.
SDL_Texture* FrameTexture(Image* img, int frame);
// The pixels of one frame as a new surface the caller frees (decoded when the picture keeps
// none); nullptr when there are none.
SDL_Surface* CopyOfFrame(Image* img, int frame);
// A copy of a picture's frame or a text's texture (owner: the picture, or the texture itself)
// scaled to w x h pixels (the draw's size after the drawing scale), made the second time that
// size is drawn; nullptr when it is to be drawn as it is.
SDL_Texture* ScaledFrame(const void* owner, int frame, SDL_Texture* source, uint64_t source_version,
                         float w, float h, bool filter, uint64_t* version);
void DropScaledFrames(const void* owner);
// The size or position a draw really lands at: the software renderer cuts every coordinate to
// a whole pixel (toward zero); accelerated renderers draw at fractions of a pixel.
float LandingCoordinate(float v);
// Where a draw at (x, y) in the game's units starts in the window's pixels (origin and density
// applied).
float WindowPixelX(float x);
float WindowPixelY(float y);
bool SoftwareRenderer();   // the renderer draws with the processor
// A number never handed out before, given to a texture whenever its pixels are made or replaced:
// the frame composer tells unchanged draws from changed ones by texture and version, so a new
// texture at a freed one's address is never mistaken for it.
uint64_t NextTextureVersion();
// Draws a texture at (x, y) + origin with size w x h and the current colour, alpha, blend and
// scale. Negative scales mirror the picture around the drawing position.
void DrawTexture(SDL_Texture* tex, uint64_t version, const SDL_Rect* src, float x, float y,
                 float w, float h, bool filter);
// The same with the size given in window pixels, drawing scale and pixel ratio included.
void DrawTextureInPixels(SDL_Texture* tex, uint64_t version, const SDL_Rect* src, float x, float y,
                         float pixel_w, float pixel_h, bool filter);
// Copies the frame about to be presented (headless runs).
void KeepFrameCopy();
SDL_Surface* LastFrameSurface();   // the copy of the last presented frame, or nullptr
void ApplyClip();
void ResetDrawingState();

// ---- Input ----
void HandleInputEvent(const SDL_Event& e);
extern uint64_t Input_Event_Count;   // events taken from the system so far
// Waits up to `ms` for the system's next event and takes it; true when one came.
bool WaitForInput(uint32_t ms);
int KeyCodeOf(SDL_Keycode sym);      // KeyCode, or 0 for keys the game has no code for
SDL_Keycode SdlKeyOf(int code);
// Last pointer position sent by the scripted input (buttons are pressed there).
extern int Injected_Pointer_X, Injected_Pointer_Y;
// A key going down (a hit when it was up) or up, as if from the keyboard; for input that the
// game takes as keys (a game controller's buttons).
void PressKeyCode(int code, bool down);
// A character in the typed queue, as if typed.
void TypeCharacter(int c);
// Game controllers: connected and disconnected while the game runs, their buttons and stick
// turned into the keys and characters the game already knows.
void HandleControllerEvent(const SDL_Event& e);

// ---- Clock ----
extern bool Virtual_Clock;

// The frame composer: the game's draws of a frame are recorded, compared with the frame on
// screen, and only the areas that differ are drawn again into a kept copy of the frame, which is
// shown only when something in it changed. Platform-internal; nothing outside platform/ sees it.
#pragma once

#include <SDL.h>

#include <cstdint>

// One draw as the renderer would carry it out: a texture copy or (Texture == nullptr) a filled
// rectangle, with every piece of drawing state that decides its pixels.
struct DrawCommand {
  SDL_Texture* Texture;
  uint64_t Version;          // the texture's content version (NextTextureVersion)
  SDL_FRect Dst;             // window coordinates, after origin and scale
  SDL_Rect Src;              // the part of the texture; w == 0: the whole texture
  SDL_Rect Clip;             // w == -1: no clip rectangle
  uint8_t R, G, B, A;
  uint8_t Blend;             // SDL_BlendMode
  uint8_t Linear;            // bilinear filtering when scaled
  uint8_t Flip;              // SDL_RendererFlip
  uint8_t Exact;             // lands on whole pixels unscaled: any clip cuts it cleanly
};

// Records one draw of the current frame (nothing reaches the renderer yet).
void RecordDraw(const DrawCommand& command);
// Brings the kept frame up to date with everything drawn so far; reads of the frame call it.
void ComposePending();
// Ends the frame: composes it, and shows it when it differs from the frame on screen or the
// screen needs it again. Returns true when a frame was shown. A hidden or minimised window is
// neither drawn nor shown.
bool PresentComposedFrame();
// The size and pixel format of the kept frame, which the renderer reads between presents.
bool KeptFrameFormat(int* w, int* h, Uint32* format);
// A texture whose owner let go of it: destroyed once no recorded draw can still use it.
void RetireTexture(SDL_Texture* texture);
// Forget the kept frame (a new window size or screen mode, lost render targets): the next
// frame is drawn whole.
void ResetComposer();
// The window's pixels were lost or uncovered: show the kept frame again at the next present.
void InvalidateScreen();

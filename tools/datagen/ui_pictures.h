// Pictures of the interface: side-bar icons, time digits, hand pointers, side bar, level-map
// plateaus; and the full-screen pictures: backgrounds, splash and victory overlay; and flags.
#pragma once

#include <string>

#include "picture.h"

Picture RenderIcons(bool lit);           // 11 frames of 64 x 64
Picture RenderDigits();                  // 10 frames of 10 x 16
Picture RenderHand(bool pressed);        // 160 x 160, fingertip at (85, 50)
Picture RenderSideBar();                 // 64 x 768
Picture RenderPlateau(bool highlighted); // 260 x 220, the thumbnail's place at (30, 30)
// The colour-blind aid: one symbol per colour (circle, triangle, square, diamond, star, cross),
// 6 frames of 64 x 64, white with a dark outline so they read on any tile.
Picture RenderColourSymbols();

Picture RenderBackground(const std::string& which);   // 960 x 768: fond picots menus style tuto
Picture RenderBumper();                               // 960 x 768
Picture RenderBravo();                                // 960 x 768

// The flag picture of a flag file name ("French.png" ...), 100 x 75.
Picture RenderFlag(const std::string& file);

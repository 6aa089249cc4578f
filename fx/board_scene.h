// The board scene and its text overlays: blocks, particles, held blocks, fragments, the level
// number, the hint, wrapped text and the web-link row.
#pragma once

#include "platform/platform.h"

void DrawBoardScene();
void DrawWrappedText(int x, int y, int width, int r, int g, int b, const String& text);
void DrawLinkRow(int row);
void ClickLinkRow(int row);

// The board scene. For now the screens draw only their backgrounds; the scene itself comes with
// the board and level play.
#include "fx/board_scene.h"

// For now nothing is drawn over the background.
void DrawBoardScene() {}
// For now no text is laid out.
void DrawWrappedText(int, int, int, int, int, int, const String&) {}
// For now there is no web-link row.
void DrawLinkRow(int) {}
void ClickLinkRow(int) {}

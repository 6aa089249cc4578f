// The victory screen.
#include "fx/victory.h"

// For now the victory screen shows only its background.
void UpdateVictory() {}
void DrawVictoryScreen() {}

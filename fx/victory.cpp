// The victory screen.
#include "fx/victory.h"

// For now the victory screen shows only its background.
void UpdateVictory() {}
// For now there is no verdict and no replay to build.
void SetUpVictory() {}
void DrawVictoryScreen() {}

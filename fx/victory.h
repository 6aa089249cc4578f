// The victory screen: the verdict and times over a looping replay of the won level.
#pragma once

// Builds the verdict and the replay of the level just won (before its undo history is gone).
void SetUpVictory();
void UpdateVictory();
void DrawVictoryScreen();

// The victory screen: the verdict and times over a looping replay of the won level.
#pragma once

void UpdateVictory();
void DrawVictoryScreen();

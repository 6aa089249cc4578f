// The screen switch: every screen id and how its screen is set up.
#pragma once

void GotoScreen(int id);
// The side bar of the game screen, for play entered without a screen switch.
void SetGameIconRow();

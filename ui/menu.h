// The screen switch: every screen id and how its screen is set up.
#pragma once

void GotoScreen(int id);

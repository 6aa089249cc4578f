// Program start: embedded data, the user folder, the profile, the display, the loading screen,
// every asset, the catalogue, and the choice of the first screen.
#pragma once

#include "platform/platform.h"

// Runs the whole start-up sequence; the frame loop comes next.
void StartGame();
int ExportDataFile(const String& name);
[[noreturn]] void SaveProfileAndQuit();

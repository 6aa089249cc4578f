// Program start: embedded data, the user folder, the profile, the display, the loading screen,
// every asset, the catalogue, and the choice of the first screen.
#pragma once

#include "platform/platform.h"

// Runs the whole start-up sequence; the frame loop comes next.
void StartGame();
// Copies the embedded "Data/" + name into the user folder when the copy there is missing,
// older than the program or cut short; 1 when the copy is up to date. Failures are left to
// ExportDataFiles to report.
int ExportDataFile(const String& name);
// Every language file and flag, with one "Error writing file: " message for those that failed.
void ExportDataFiles();
[[noreturn]] void SaveProfileAndQuit();

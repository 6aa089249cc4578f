// The user profile: the player's settings, total play time and level in progress, kept
// between runs as 8-bit `"Key" = value` lines with "{" comments.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Play time of all earlier runs in milliseconds; set by ReadProfile only. The current run's
// time is added when writing, never folded back in.
extern int64_t Total_Play_Time;

// Writes the whole profile. On any failure the old file stays and the player is told.
void WriteProfile(const String& path);
// Sets the settings globals from every key found; a missing file leaves them as they are.
void ReadProfile(const String& path);

// "Language": the full path of the language file, except that a file of Language_Dir whose
// path holds "{" or a quote (which the line cannot carry) is stored by its name alone; reading
// turns a value without "/" back into a path in Language_Dir.
String ProfileLanguageName(const String& language_file);
String LanguageFileFromProfile(const String& value);

// "Current Level Info": the level index and its elapsed time in one number.
int64_t PackLevelInfo(int level_index, int64_t level_elapsed);
void UnpackLevelInfo(int64_t packed, int* level_index, int64_t* level_elapsed);

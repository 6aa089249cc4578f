// Music on its one channel with fade-in, and the sound effects fired by game events.
#pragma once

#include <cstdint>

#include "app/assets.h"   // Music_Table and its tracks
#include "platform/platform.h"

extern int Music_Flag;          // music on; profile "Music Flag"
extern int Sound_Flag;          // effects play while 1
extern int Music_Index;         // index into Music_Table of the track on the music channel
extern Channel Music_Channel;
extern float Music_Volume;      // the volume a fade-in reaches: 0.3 on, 0 off
extern int Music_Fade_Time;
extern int64_t Music_Fade_End;
extern int64_t Music_Off_Time;
extern Channel Move_Channel;

constexpr float Music_On_Volume = 0.3f;

// Music and effects on, the menu track chosen, no channel, no fade (the tracks and effects
// loaded stay). The counts of Effects_Started run on.
void ResetMusic();

// ---- Music ----
// on != 0: the current track starts again from its beginning with a 3-second fade-in (the
// channel it replaces is stopped); on = 0: silence, the channel runs on at volume 0.
void SetMusic(int on);
// Chooses the track; music restarts only when the index changes and music is on.
void SelectMusic(int index);
// Once per frame: the linear rise of a fade-in.
void UpdateMusicFade();
// Starts the menu track silently on its channel (start-up).
void StartFirstMusicChannel();

// ---- Effects ----
// Plays an effect when Sound_Flag is 1.
void PlayEffect(Sound* effect);
// A move sound, unless the previous one still plays.
void PlayMoveSound();

// How many times each effect was started since the program began, by name (the victory track
// counts as "Victory"). For the test driver's state dump.
enum EffectName {
  Effect_Click, Effect_Mouse_Over, Effect_Move, Effect_Merge, Effect_Disappear, Effect_Undo,
  Effect_Start, Effect_Scroll_Map, Effect_Victory_Short, Effect_Victory, Effect_Other,
  Effect_Name_Count
};
extern int Effects_Started[Effect_Name_Count];
const char* EffectNameText(int name);   // "Click", "Mouse_Over", ...

// Music on its one channel with fade-in, and the sound effects fired by game events.
#pragma once

#include <cstdint>

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

void SetMusic(int on);
void SelectMusic(int index);
void UpdateMusicFade();
// Plays an effect when Sound_Flag is 1.
void PlayEffect(Sound* effect);
// A move sound, unless the previous one still plays.
void PlayMoveSound();
// Starts the menu track silently on its channel (start-up).
void StartFirstMusicChannel();

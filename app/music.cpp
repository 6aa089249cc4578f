// Music on its one channel, faded in whenever a track starts, and the sound effects.
#include "app/music.h"

#include "app/assets.h"
#include "app/state.h"

int Music_Flag = 1;
int Sound_Flag = 1;
int Music_Index = Track_Menu;
Channel Music_Channel = 0;
float Music_Volume = 0;
int Music_Fade_Time = 3000;
int64_t Music_Fade_End = 0;
int64_t Music_Off_Time = 0;
Channel Move_Channel = 0;

int Effects_Started[Effect_Name_Count] = {};

void ResetMusic() {
  Music_Flag = 1;
  Sound_Flag = 1;
  Music_Index = Track_Menu;
  Music_Channel = 0;
  Music_Volume = 0;
  Music_Fade_Time = 3000;
  Music_Fade_End = 0;
  Music_Off_Time = 0;
  Move_Channel = 0;
}

namespace {

Sound* TrackAt(int index) {
  return index >= 0 && index < Music_Track_Count ? Music_Table[index] : nullptr;
}

int EffectOf(const Sound* effect) {
  const struct {
    Sound* Snd;
    int Name;
  } known[] = {
      {Sfx_Click, Effect_Click},         {Sfx_Mouse_Over, Effect_Mouse_Over},
      {Sfx_Move, Effect_Move},           {Sfx_Merge, Effect_Merge},
      {Sfx_Disappear, Effect_Disappear}, {Sfx_Undo, Effect_Undo},
      {Sfx_Start, Effect_Start},         {Sfx_Scroll_Map, Effect_Scroll_Map},
      {Sfx_Victory_Short, Effect_Victory_Short}, {Sfx_Victory, Effect_Victory},
  };
  for (const auto& k : known) {
    if (k.Snd && k.Snd == effect) return k.Name;
  }
  return Effect_Other;
}

}  // namespace

const char* EffectNameText(int name) {
  static const char* const Names[Effect_Name_Count] = {
      "Click", "Mouse_Over", "Move", "Merge", "Disappear", "Undo", "Start", "Scroll_Map",
      "Victory_Short", "Victory", "Other"};
  return name >= 0 && name < Effect_Name_Count ? Names[name] : "?";
}

void StartFirstMusicChannel() {
  Music_Index = Track_Menu;
  Music_Channel = CueSound(TrackAt(Track_Menu));
  SetChannelVolume(Music_Channel, 0);
  ResumeChannel(Music_Channel);
}

void SetMusic(int on) {
  if (on != 0) {
    // The replaced channel is always stopped, also when music was off and it ran silently:
    // a forgotten channel would keep playing under the new track.
    if (Music_Channel) {
      SetChannelVolume(Music_Channel, 0);
      StopChannel(Music_Channel);
      Music_Channel = 0;
    }
    Music_Channel = CueSound(TrackAt(Music_Index));
    SetChannelVolume(Music_Channel, 0);
    ResumeChannel(Music_Channel);
    if (Music_Index == Track_Victory) Effects_Started[Effect_Victory]++;
    Music_Flag = 1;
    Music_Volume = Music_On_Volume;
    Music_Fade_Time = 3000;
    Music_Fade_End = Now + 3000;
  } else {
    Music_Flag = 0;
    Music_Volume = 0;
    SetChannelVolume(Music_Channel, 0);
  }
}

void SelectMusic(int index) {
  if (index == Music_Index) return;
  Music_Index = index;
  if (Music_Flag == 1) SetMusic(1);
}

void UpdateMusicFade() {
  if (Music_Fade_End == 0) return;
  if (Music_Fade_End > Now) {
    double rise = static_cast<double>(Music_Fade_Time - (Music_Fade_End - Now)) / Music_Fade_Time;
    SetChannelVolume(Music_Channel, static_cast<float>(Music_Volume * rise));
  } else {
    SetChannelVolume(Music_Channel, Music_Volume);
    Music_Fade_End = 0;
  }
}

void PlayEffect(Sound* effect) {
  if (Sound_Flag != 1) return;
  Effects_Started[EffectOf(effect)]++;
  PlaySound(effect);
}

void PlayMoveSound() {
  if (Sound_Flag != 1) return;
  if (Move_Channel != 0 && ChannelPlaying(Move_Channel)) return;
  Move_Channel = CueSound(Sfx_Move);
  ResumeChannel(Move_Channel);
  Effects_Started[Effect_Move]++;
}

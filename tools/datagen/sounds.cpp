// The sound effects: short, soft and tuned to the music's keys.
#include "sounds.h"

#include <cstdio>

#include "audio.h"

namespace {

const int Rate = 22050;

Wave Move() {
  // A soft wooden slide: a low knock over a breath of noise.
  Wave w(Rate, 0.16);
  AddNoiseBurst(w, 0.0, 0.12, 0.35, 0.18, 11);
  AddPluck(w, 0.0, NoteHz(57), 0.5, 0.035);
  AddPluck(w, 0.004, NoteHz(69), 0.15, 0.02);
  FadeEnds(w, 0.002, 0.03);
  Normalise(w, 0.55f);
  return w;
}

Wave Merge() {
  // Two bell notes a fifth apart, the second one answering.
  Wave w(Rate, 0.45);
  AddBell(w, 0.0, NoteHz(77), 0.45, 0.09);
  AddBell(w, 0.07, NoteHz(84), 0.4, 0.12);
  AddSweep(w, 0.0, 0.12, 300, 900, 0.12);
  AddReverb(w, 0.25f, 0.6f);
  FadeEnds(w, 0.002, 0.05);
  Normalise(w, 0.6f);
  return w;
}

Wave Disappear() {
  // A sparkling cascade rising through the chord, over a bright hiss.
  Wave w(Rate, 0.75);
  const int notes[6] = {72, 76, 79, 84, 88, 91};
  for (int i = 0; i < 6; ++i) AddBell(w, i * 0.045, NoteHz(notes[i]), 0.28, 0.09);
  AddNoiseBurst(w, 0.0, 0.45, 0.25, 0.6, 23);
  AddReverb(w, 0.35f, 0.7f);
  FadeEnds(w, 0.002, 0.08);
  Normalise(w, 0.6f);
  return w;
}

Wave Click() {
  Wave w(Rate, 0.06);
  AddPluck(w, 0.0, 1800, 0.5, 0.008);
  AddPluck(w, 0.0, 900, 0.4, 0.01);
  FadeEnds(w, 0.001, 0.01);
  Normalise(w, 0.5f);
  return w;
}

Wave MouseOver() {
  Wave w(Rate, 0.09);
  AddBell(w, 0.0, NoteHz(93), 0.3, 0.018);
  FadeEnds(w, 0.002, 0.02);
  Normalise(w, 0.3f);
  return w;
}

Wave ScrollMap() {
  // A gentle whoosh, as of a card sliding in.
  Wave w(Rate, 0.45);
  AddNoiseBurst(w, 0.0, 0.42, 0.5, 0.12, 31);
  AddSweep(w, 0.0, 0.4, 200, 520, 0.08);
  FadeEnds(w, 0.01, 0.06);
  Normalise(w, 0.45f);
  return w;
}

Wave Start() {
  // A bright rising arpeggio that settles on a chord: the level begins.
  Wave w(Rate, 1.6);
  const int notes[5] = {67, 71, 74, 79, 83};
  for (int i = 0; i < 5; ++i) AddPluck(w, i * 0.07, NoteHz(notes[i]), 0.3, 0.25);
  for (int n : {79, 83, 86}) AddBell(w, 0.38, NoteHz(n), 0.18, 0.35);
  AddSweep(w, 0.0, 0.4, 400, 1600, 0.05);
  AddReverb(w, 0.35f, 0.75f);
  FadeEnds(w, 0.002, 0.3);
  Normalise(w, 0.65f);
  return w;
}

Wave Undo() {
  // The move played backwards: a falling pair of soft notes.
  Wave w(Rate, 0.5);
  AddSweep(w, 0.0, 0.18, 900, 350, 0.15);
  AddPluck(w, 0.0, NoteHz(76), 0.3, 0.08);
  AddPluck(w, 0.08, NoteHz(69), 0.3, 0.1);
  AddReverb(w, 0.2f, 0.5f);
  FadeEnds(w, 0.002, 0.08);
  Normalise(w, 0.5f);
  return w;
}

void Fanfare(Wave& w, double beat, double amp) {
  // Do-mi-sol-do, then a held major chord.
  const int notes[4] = {72, 76, 79, 84};
  for (int i = 0; i < 4; ++i) {
    AddPluck(w, i * beat, NoteHz(notes[i]), amp, 0.3);
    AddBell(w, i * beat, NoteHz(notes[i] + 12), amp * 0.3, 0.2);
  }
  double t = 4 * beat;
  for (int n : {72, 76, 79, 84}) AddPad(w, t, 1.2, NoteHz(n), amp * 0.35, 0.05, 1.0);
  AddBass(w, t, 1.2, NoteHz(48), amp * 0.6);
  for (int n : {84, 88, 91}) AddBell(w, t, NoteHz(n), amp * 0.4, 0.5);
}

Wave VictoryShort() {
  Wave w(Rate, 2.4);
  Fanfare(w, 0.12, 0.35);
  AddReverb(w, 0.3f, 0.75f);
  FadeEnds(w, 0.002, 0.4);
  Normalise(w, 0.65f);
  return w;
}

Wave Victory() {
  // The longer cheer played on the music channel: the fanfare, an answer, and a shimmering end.
  Wave w(Rate, 6.0);
  Fanfare(w, 0.16, 0.35);
  double t = 2.0;
  const int answer[6] = {79, 81, 83, 84, 86, 88};
  for (int i = 0; i < 6; ++i) AddPluck(w, t + i * 0.16, NoteHz(answer[i]), 0.25, 0.25);
  t += 6 * 0.16;
  for (int n : {60, 67, 72, 76, 79}) AddPad(w, t, 1.8, NoteHz(n), 0.18, 0.1, 1.5);
  AddBass(w, t, 1.6, NoteHz(36), 0.4);
  for (int i = 0; i < 8; ++i) AddBell(w, t + 0.1 * i, NoteHz(96 - (i % 4) * 5), 0.08, 0.3);
  AddReverb(w, 0.35f, 0.8f);
  FadeEnds(w, 0.002, 1.0);
  Normalise(w, 0.7f);
  return w;
}

bool Report(bool ok, const std::string& path) {
  if (!ok) std::fprintf(stderr, "Can't write %s\n", path.c_str());
  return ok;
}

}  // namespace

bool WriteSounds(const std::string& dir) {
  bool ok = true;
  auto wav = [&](const char* name, Wave w) {
    Trim(w, 0.9);   // effects stay under a second, echo included
    ok &= Report(WriteWav(w, dir + "/" + name), name);
  };
  auto ogg = [&](const char* name, const Wave& w) { ok &= Report(WriteOgg(w, dir + "/" + name, 0.5f), name); };
  wav("Move2fred.wav", Move());
  wav("Merge.wav", Merge());
  wav("Disappear.wav", Disappear());
  wav("Click.wav", Click());
  wav("MouseOver2.wav", MouseOver());
  wav("Scroll_Map.wav", ScrollMap());
  ogg("qUaRk_SFX_Start_01.ogg", Start());
  ogg("SFX_Victory_Short_01.ogg", VictoryShort());
  ogg("SFX_Undo.ogg", Undo());
  ogg("qUaRk_SFX_Victory_01.ogg", Victory());
  return ok;
}

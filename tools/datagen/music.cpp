// The three music loops: calm chord progressions played by a pad, a soft bass, an arpeggio and
// a bell melody, each an exact number of bars so that it repeats without a seam.
#include <cmath>
#include <cstdio>
#include <vector>

#include "audio.h"
#include "sounds.h"

namespace {

struct Chord {
  int Root;                 // MIDI note of the root in the pad's octave
  std::vector<int> Steps;   // semitones above the root
};

struct Track {
  double Bpm;
  std::vector<Chord> Bars;  // one chord per bar, four beats each
  int Seed;
  int Repeats;              // times the bars are played in one loop
  double Arp_Per_Beat;      // 1 or 2 arpeggio notes per beat
  double Arp_Level, Melody_Level, Pad_Level, Bass_Level;
  std::vector<int> Scale;   // melody notes
};

const float Pi_4 = 0.785398163f;

const std::vector<int> Maj7 = {0, 4, 7, 11}, Min7 = {0, 3, 7, 10}, Maj = {0, 4, 7, 12},
                       Sus2 = {0, 2, 7, 12}, Add9 = {0, 4, 7, 14};

const int Music_Rate = 44100;

struct Stereo {
  Wave L, R;
};

// Adds a mono layer into both channels, `pan` from -1 (left) to 1 (right), equal power.
void Mix(Stereo& out, const Wave& layer, float pan) {
  float l = std::cos((pan + 1) * Pi_4), r = std::sin((pan + 1) * Pi_4);
  for (long i = 0; i < layer.Length(); ++i) {
    out.L.S[size_t(i)] += l * layer.S[size_t(i)];
    out.R.S[size_t(i)] += r * layer.S[size_t(i)];
  }
}

Stereo Render(const Track& t) {
  double beat = 60.0 / t.Bpm;
  double bar = 4 * beat;
  double seconds = bar * t.Bars.size() * t.Repeats;
  // Each layer is a loop of its own: what rings past the end sounds again at the start.
  Wave pad(Music_Rate, seconds), bass(Music_Rate, seconds), arp(Music_Rate, seconds),
      bell(Music_Rate, seconds);
  for (Wave* w : {&pad, &bass, &arp, &bell}) w->Loop = true;
  Noise rnd(uint32_t(t.Seed));
  int melody = 0;   // index into the scale, a gentle random walk
  size_t bars = t.Bars.size() * size_t(t.Repeats);
  for (size_t b = 0; b < bars; ++b) {
    const Chord& c = t.Bars[b % t.Bars.size()];
    int round = int(b / t.Bars.size());
    // Every third round the melody rests and the arpeggio carries the tune alone; the last
    // round thins out so that the return to the start feels like a new beginning.
    bool melody_rests = round % 3 == 2;
    bool last = round == t.Repeats - 1;
    double t0 = b * bar;
    for (int s : c.Steps) AddPad(pad, t0, bar, NoteHz(c.Root + s), t.Pad_Level, 0.7, 1.4);
    AddBass(bass, t0, beat * 1.8, NoteHz(c.Root - 24), t.Bass_Level);
    AddBass(bass, t0 + 2 * beat, beat * 1.6, NoteHz(c.Root - 24 + (b % 2 ? 7 : 0)), t.Bass_Level * 0.8);
    // Arpeggio up and down the chord, an octave above the pad; a few notes rest.
    int steps = int(4 * t.Arp_Per_Beat);
    for (int k = 0; k < steps; ++k) {
      int n = int(c.Steps.size());
      int i = (k % (2 * n - 2) < n) ? k % (2 * n - 2) : 2 * n - 2 - k % (2 * n - 2);
      if (k > 0 && rnd.Next() > (last ? 0.2f : 0.7f)) continue;
      double at = t0 + k * beat / t.Arp_Per_Beat;
      double level = t.Arp_Level * (k == 0 ? 1.2 : 1.0) * (melody_rests ? 1.25 : 1.0);
      AddPluck(arp, at, NoteHz(c.Root + 12 + c.Steps[size_t(i)]), level, 0.35);
    }
    // The melody: a phrase every two bars, resting on the other.
    if (!melody_rests && (b % 2 == 0 || rnd.Next() > 0.4f)) {
      for (int k = 0; k < 4; ++k) {
        if (rnd.Next() > 0.55f && k != 0) continue;
        float r = rnd.Next();
        melody += r > 0.35f ? 1 : (r < -0.35f ? -1 : 0);
        if (melody < 0) melody = 1;
        if (melody >= int(t.Scale.size())) melody = int(t.Scale.size()) - 2;
        double at = t0 + k * beat + (k == 3 && rnd.Next() > 0 ? beat / 2 : 0);
        AddBell(bell, at, NoteHz(t.Scale[size_t(melody)]), t.Melody_Level * (last ? 0.7 : 1.0), 0.45);
      }
    }
  }
  Stereo out{Wave(Music_Rate, seconds), Wave(Music_Rate, seconds)};
  out.L.Loop = out.R.Loop = true;
  // The pad wide on both sides, the bass in the middle, the arpeggio left and the bells right.
  Mix(out, pad, 0.0f);
  Mix(out, bass, 0.0f);
  Mix(out, arp, -0.45f);
  Mix(out, bell, 0.4f);
  AddReverb(out.L, 0.45f, 0.78f);
  AddReverb(out.R, 0.45f, 0.8f);
  NormalisePair(out.L, out.R, 0.7f);
  return out;
}

Track MenuTrack() {
  // F major, unhurried: Fmaj7 Dm7 Bbmaj7 C, nine rounds (98 s).
  Track t{88, {}, 7, 9, 2, 0.10, 0.16, 0.05, 0.22, {65, 67, 69, 72, 74, 77, 79, 81, 84}};
  for (const Chord& c : {Chord{53, Maj7}, Chord{50, Min7}, Chord{58, Maj7}, Chord{60, Add9}})
      t.Bars.push_back(c);
  return t;
}

Track InGameTrack() {
  // A minor, slow and sparse, so that it stays behind the thinking; four rounds (107 s).
  Track t{72, {}, 19, 4, 1, 0.09, 0.12, 0.05, 0.2, {64, 67, 69, 71, 72, 74, 76, 79, 81}};
  for (const Chord& c : {Chord{57, Min7}, Chord{53, Maj7}, Chord{60, Maj7}, Chord{55, Sus2},
                         Chord{57, Min7}, Chord{53, Maj7}, Chord{50, Min7}, Chord{52, Sus2}})
    t.Bars.push_back(c);
  return t;
}

Track TutorialTrack() {
  // C major, light and friendly: C G Am F, ten rounds (96 s).
  Track t{100, {}, 29, 10, 2, 0.11, 0.17, 0.045, 0.22, {67, 69, 72, 74, 76, 79, 81, 84}};
  for (const Chord& c : {Chord{60, Maj}, Chord{55, Add9}, Chord{57, Min7}, Chord{53, Maj7}})
      t.Bars.push_back(c);
  return t;
}

}  // namespace

bool WriteMusic(const std::string& dir) {
  bool ok = true;
  auto write = [&](const char* name, const Track& t) {
    std::string path = dir + "/" + name;
    Stereo music = Render(t);
    if (!WriteOggStereo(music.L, music.R, path, 0.2f)) {
      std::fprintf(stderr, "Can't write %s\n", path.c_str());
      ok = false;
    }
  };
  write("Quark_Menu.ogg", MenuTrack());
  write("Quark_InGame.ogg", InGameTrack());
  write("Quark_Tuto.ogg", TutorialTrack());
  return ok;
}

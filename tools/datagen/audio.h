// Sound synthesis of the generator: mono sample buffers, a few gentle voices, a small reverb,
// and the WAV and Ogg Vorbis writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Wave {
  int Rate = 22050;
  std::vector<float> S;
  // A loop adds what sounds past its end at its start again, so that it repeats without a seam.
  bool Loop = false;

  Wave(int rate, double seconds);
  void Add(long index, float value);
  long Length() const { return long(S.size()); }
};

// Deterministic noise source.
struct Noise {
  uint32_t State;
  explicit Noise(uint32_t seed) : State(seed * 2654435761u + 1) {}
  float Next();   // -1..1
};

double NoteHz(int midi);

// Voices, each added into the wave from `start` seconds on.
void AddBell(Wave& w, double start, double freq, double amp, double decay);
void AddPluck(Wave& w, double start, double freq, double amp, double decay);
void AddPad(Wave& w, double start, double dur, double freq, double amp, double attack, double release);
void AddBass(Wave& w, double start, double dur, double freq, double amp);
void AddSweep(Wave& w, double start, double dur, double f0, double f1, double amp);
void AddNoiseBurst(Wave& w, double start, double dur, double amp, double brightness, uint32_t seed);

// A soft room around the sound; for a loop the echo tail wraps round to the start.
void AddReverb(Wave& w, float mix, float room);
// Scales to the given peak and rounds off stray peaks softly.
void Normalise(Wave& w, float peak);
// The same for the two channels of a stereo sound, both by one factor.
void NormalisePair(Wave& left, Wave& right, float peak);
// Cuts a sound to at most `seconds`, fading out over its last 50 ms.
void Trim(Wave& w, double seconds);
// Short fades at both ends (not for loops).
void FadeEnds(Wave& w, double in_s, double out_s);

bool WriteWav(const Wave& w, const std::string& path);
bool WriteOgg(const Wave& w, const std::string& path, float quality);
// Two channels of one rate and length as a stereo Ogg Vorbis file.
bool WriteOggStereo(const Wave& left, const Wave& right, const std::string& path, float quality);

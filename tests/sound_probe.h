// Counts the sounds played between two probes. Channel ids only ever grow, so the ids handed
// out in between count the sounds; a tiny embedded WAV stands in for every effect under test.
#pragma once

#include <string>

#include "platform/headless.h"
#include "platform/platform.h"
#include "tests/test_wav.h"

class SoundProbe {
 public:
  // The stand-in effect, loaded once per process.
  static Sound* TestSound() {
    static Sound* sound = [] {
      static const std::string wav = MakeWav(200);
      RegisterResource(u"Test/probe.wav", reinterpret_cast<const uint8_t*>(wav.data()), wav.size());
      return LoadSound(u"incbin::Test/probe.wav");
    }();
    return sound;
  }
  // False when the platform has no audio at all, not even the dummy driver.
  bool Start() {
    last_ = Probe();
    return last_ != 0;
  }
  // Sounds started since the previous call (or Start).
  int Played() {
    Channel now = Probe();
    int n = now - last_ - 1;
    last_ = now;
    return n;
  }

 private:
  static Channel Probe() {
    Channel c = CueSound(TestSound());
    StopChannel(c);
    return c;
  }
  Channel last_ = 0;
};

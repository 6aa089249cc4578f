// Counts the sounds played between two probes. Channel ids only ever grow, so the ids handed
// out in between count the sounds; a tiny embedded WAV stands in for every effect under test.
#pragma once

#include <string>

#include "platform/headless.h"
#include "platform/platform.h"

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
  static std::string MakeWav(int ms) {
    int samples = 22050 * ms / 1000;
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string data;
    for (int i = 0; i < samples; i++) data += u16(uint16_t((i / 50) % 2 ? 1000 : -1000));
    return "RIFF" + u32(uint32_t(36 + data.size())) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) +
           u32(22050) + u32(22050 * 2) + u16(2) + u16(16) + "data" + u32(uint32_t(data.size())) + data;
  }
  Channel last_ = 0;
};

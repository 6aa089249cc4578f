// Voices, reverb and the sound file writers.
#include "audio.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
const double TwoPi = 6.283185307179586;
}

Wave::Wave(int rate, double seconds) : Rate(rate), S(size_t(std::lround(rate * seconds)), 0.0f) {}

void Wave::Add(long index, float value) {
  long n = Length();
  if (index < 0) return;
  if (index >= n) {
    if (!Loop || n == 0) return;
    index %= n;
  }
  S[size_t(index)] += value;
}

float Noise::Next() {
  State = State * 1664525u + 1013904223u;
  return float((State >> 8) & 0xFFFF) / 32768.0f - 1.0f;
}

double NoteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void AddBell(Wave& w, double start, double freq, double amp, double decay) {
  // Soft inharmonic partials, the higher ones dying first.
  const double ratio[4] = {1.0, 2.0, 3.01, 4.17};
  const double level[4] = {1.0, 0.35, 0.12, 0.06};
  long s0 = long(start * w.Rate);
  long n = long(decay * 5 * w.Rate);
  for (long i = 0; i < n; ++i) {
    double t = double(i) / w.Rate;
    double attack = std::min(1.0, t / 0.004);
    double v = 0;
    for (int p = 0; p < 4; ++p) {
      if (freq * ratio[p] > w.Rate * 0.45) continue;
      v += level[p] * std::exp(-t / (decay / (1 + p))) * std::sin(TwoPi * freq * ratio[p] * t);
    }
    w.Add(s0 + i, float(amp * attack * v));
  }
}

void AddPluck(Wave& w, double start, double freq, double amp, double decay) {
  long s0 = long(start * w.Rate);
  long n = long(decay * 5 * w.Rate);
  for (long i = 0; i < n; ++i) {
    double t = double(i) / w.Rate;
    double attack = std::min(1.0, t / 0.003);
    double env = std::exp(-t / decay);
    // The brightness fades faster than the tone: a soft felt-hammer colour.
    double bright = std::exp(-t / (decay * 0.25));
    double v = std::sin(TwoPi * freq * t) + 0.3 * bright * std::sin(TwoPi * 2 * freq * t) +
               0.12 * bright * std::sin(TwoPi * 3 * freq * t);
    w.Add(s0 + i, float(amp * attack * env * v));
  }
}

void AddPad(Wave& w, double start, double dur, double freq, double amp, double attack, double release) {
  long s0 = long(start * w.Rate);
  long n = long((dur + release) * w.Rate);
  const double detune[3] = {-0.0035, 0.0, 0.004};
  for (long i = 0; i < n; ++i) {
    double t = double(i) / w.Rate;
    double env = std::min(1.0, t / attack);
    if (t > dur) env *= std::exp(-(t - dur) / (release * 0.35));
    env = env * env * (3 - 2 * std::min(env, 1.0));
    double v = 0;
    for (int k = 0; k < 3; ++k) {
      double f = freq * (1 + detune[k]);
      v += std::sin(TwoPi * f * t) + 0.22 * std::sin(TwoPi * 2 * f * t + k) +
           0.06 * std::sin(TwoPi * 3 * f * t + 2 * k);
    }
    double swell = 1 + 0.12 * std::sin(TwoPi * 0.23 * t);
    w.Add(s0 + i, float(amp * env * swell * v / 3));
  }
}

void AddBass(Wave& w, double start, double dur, double freq, double amp) {
  long s0 = long(start * w.Rate);
  long n = long((dur + 0.3) * w.Rate);
  for (long i = 0; i < n; ++i) {
    double t = double(i) / w.Rate;
    double env = std::min(1.0, t / 0.02) * std::exp(-t / (dur * 0.9));
    if (t > dur) env *= std::exp(-(t - dur) / 0.06);
    double v = std::sin(TwoPi * freq * t) + 0.25 * std::sin(TwoPi * 2 * freq * t);
    w.Add(s0 + i, float(amp * env * v));
  }
}

void AddSweep(Wave& w, double start, double dur, double f0, double f1, double amp) {
  long s0 = long(start * w.Rate);
  long n = long(dur * w.Rate);
  double phase = 0;
  for (long i = 0; i < n; ++i) {
    double x = double(i) / n;
    double f = f0 * std::pow(f1 / f0, x);
    phase += TwoPi * f / w.Rate;
    double env = std::sin(3.14159265 * x);
    w.Add(s0 + i, float(amp * env * env * std::sin(phase)));
  }
}

void AddNoiseBurst(Wave& w, double start, double dur, double amp, double brightness, uint32_t seed) {
  Noise noise(seed);
  long s0 = long(start * w.Rate);
  long n = long(dur * w.Rate);
  double low = 0, band = 0;
  for (long i = 0; i < n; ++i) {
    double x = double(i) / n;
    double env = std::sin(3.14159265 * std::sqrt(x)) * (1 - x);
    // A one-pole low-pass, then a second one to keep only a soft hiss.
    low += brightness * (noise.Next() - low);
    band += brightness * (low - band);
    w.Add(s0 + i, float(amp * env * band * 3));
  }
}

void AddReverb(Wave& w, float mix, float room) {
  // Four feedback combs in parallel and two all-passes in series, tuned for the sample rate.
  const int comb_ms[4] = {29, 37, 41, 44};
  const int pass_ms[2] = {5, 2};
  long n = w.Length();
  int rounds = w.Loop ? 2 : 1;   // a loop runs twice so that its tail reaches its own start
  std::vector<float> in = w.S;
  std::vector<float> out(size_t(n), 0.0f);
  std::vector<std::vector<float>> comb(4);
  std::vector<size_t> pos(4, 0);
  std::vector<float> damp(4, 0.0f);
  for (int c = 0; c < 4; ++c) comb[c].assign(size_t(comb_ms[c] * w.Rate / 1000), 0.0f);
  std::vector<std::vector<float>> pass(2);
  std::vector<size_t> ppos(2, 0);
  for (int p = 0; p < 2; ++p) pass[p].assign(size_t(pass_ms[p] * w.Rate / 1000), 0.0f);
  long tail = w.Loop ? 0 : long(1.5 * w.Rate);
  if (!w.Loop) {
    in.resize(size_t(n + tail), 0.0f);
    out.resize(size_t(n + tail), 0.0f);
  }
  long total = long(in.size());
  for (int r = 0; r < rounds; ++r)
    for (long i = 0; i < total; ++i) {
      float x = in[size_t(i)];
      float sum = 0;
      for (int c = 0; c < 4; ++c) {
        float y = comb[c][pos[c]];
        damp[c] = y * 0.6f + damp[c] * 0.4f;
        comb[c][pos[c]] = x + damp[c] * room;
        pos[c] = (pos[c] + 1) % comb[c].size();
        sum += y;
      }
      sum *= 0.25f;
      for (int p = 0; p < 2; ++p) {
        float b = pass[p][ppos[p]];
        float y = -0.5f * sum + b;
        pass[p][ppos[p]] = sum + 0.5f * y;
        ppos[p] = (ppos[p] + 1) % pass[p].size();
        sum = y;
      }
      if (r == rounds - 1) out[size_t(i)] = sum;
    }
  if (!w.Loop) w.S.resize(size_t(total), 0.0f);
  for (long i = 0; i < long(w.S.size()); ++i) w.S[size_t(i)] = w.S[size_t(i)] + mix * out[size_t(i)];
  if (!w.Loop) {
    // Drop the silent end of the tail.
    long last = long(w.S.size()) - 1;
    while (last > n && std::fabs(w.S[size_t(last)]) < 1e-4f) --last;
    w.S.resize(size_t(last + 1));
  }
}

void Normalise(Wave& w, float peak) {
  float m = 1e-9f;
  for (float v : w.S) m = std::max(m, std::fabs(v));
  float k = peak / m;
  for (float& v : w.S) v = std::tanh(v * k * 1.1f) / std::tanh(1.1f);
}

void NormalisePair(Wave& left, Wave& right, float peak) {
  float m = 1e-9f;
  for (float v : left.S) m = std::max(m, std::fabs(v));
  for (float v : right.S) m = std::max(m, std::fabs(v));
  float k = peak / m;
  for (Wave* w : {&left, &right})
    for (float& v : w->S) v = std::tanh(v * k * 1.1f) / std::tanh(1.1f);
}

void Trim(Wave& w, double seconds) {
  long n = std::min(w.Length(), long(seconds * w.Rate));
  w.S.resize(size_t(n));
  FadeEnds(w, 0, 0.05);
}

void FadeEnds(Wave& w, double in_s, double out_s) {
  long n = w.Length();
  long a = long(in_s * w.Rate), b = long(out_s * w.Rate);
  for (long i = 0; i < a && i < n; ++i) w.S[size_t(i)] *= float(i) / a;
  for (long i = 0; i < b && i < n; ++i) w.S[size_t(n - 1 - i)] *= float(i) / b;
}

bool WriteWav(const Wave& w, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) std::fputc(int((v >> (8 * i)) & 255), f); };
  auto u16 = [&](uint32_t v) { for (int i = 0; i < 2; ++i) std::fputc(int((v >> (8 * i)) & 255), f); };
  uint32_t data = uint32_t(w.S.size() * 2);
  std::fwrite("RIFF", 1, 4, f);
  u32(36 + data);
  std::fwrite("WAVEfmt ", 1, 8, f);
  u32(16);
  u16(1);                 // PCM
  u16(1);                 // mono
  u32(uint32_t(w.Rate));
  u32(uint32_t(w.Rate * 2));
  u16(2);
  u16(16);
  std::fwrite("data", 1, 4, f);
  u32(data);
  for (float v : w.S) u16(uint32_t(uint16_t(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767)))));
  return std::fclose(f) == 0;
}

namespace {

bool WriteOggChannels(const std::vector<const Wave*>& ch, const std::string& path, float quality) {
  const Wave& w = *ch[0];
  int channels = int(ch.size());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, w.Rate, quality) != 0) {
    std::fclose(f);
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "qUaRk");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x71A4C);   // a fixed serial number keeps the file the same on every run
  ogg_packet header, header_comm, header_code;
  vorbis_analysis_headerout(&vd, &vc, &header, &header_comm, &header_code);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &header_comm);
  ogg_stream_packetin(&os, &header_code);
  ogg_page og;
  while (ogg_stream_flush(&os, &og) != 0) {
    std::fwrite(og.header, 1, size_t(og.header_len), f);
    std::fwrite(og.body, 1, size_t(og.body_len), f);
  }
  const long chunk = 1024;
  long done = 0, n = w.Length();
  bool eos = false;
  while (!eos) {
    long count = std::min(chunk, n - done);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&vd, int(count));
      for (int c = 0; c < channels; ++c)
        for (long i = 0; i < count; ++i) buffer[c][i] = ch[size_t(c)]->S[size_t(done + i)];
      vorbis_analysis_wrote(&vd, int(count));
      done += count;
    } else {
      vorbis_analysis_wrote(&vd, 0);
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (!eos && ogg_stream_pageout(&os, &og) != 0) {
          std::fwrite(og.header, 1, size_t(og.header_len), f);
          std::fwrite(og.body, 1, size_t(og.body_len), f);
          if (ogg_page_eos(&og)) eos = true;
        }
      }
    }
    if (count <= 0 && !eos) {
      // The last packets are out; flush what is left.
      while (ogg_stream_flush(&os, &og) != 0) {
        std::fwrite(og.header, 1, size_t(og.header_len), f);
        std::fwrite(og.body, 1, size_t(og.body_len), f);
      }
      eos = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return std::fclose(f) == 0;
}

}  // namespace

bool WriteOgg(const Wave& w, const std::string& path, float quality) {
  return WriteOggChannels({&w}, path, quality);
}

bool WriteOggStereo(const Wave& left, const Wave& right, const std::string& path, float quality) {
  if (left.Rate != right.Rate || left.Length() != right.Length()) return false;
  return WriteOggChannels({&left, &right}, path, quality);
}

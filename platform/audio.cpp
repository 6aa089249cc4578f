// Sound: effects decoded in memory and mixed on any number of channels, and one streamed
// (music) channel for looping or streamed Ogg data. Without a working audio device every
// call is a silent no-op.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/internal.h"
#include "platform/platform.h"

struct Sound {
  Mix_Chunk* Chunk = nullptr;        // effects
  bool Streamed = false;             // music: the Ogg bytes below, decoded while playing
  bool Loop = false;
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  std::vector<uint8_t> Bytes;        // the file's bytes when it did not come from embedded data
  double Duration_Ms = -1;           // -1 when unknown
};

namespace {

constexpr int First_Mix_Channels = 16;

int Audio_State = 0;   // 0 not tried, 1 open, -1 unavailable
int Mix_Frequency = 44100, Mix_Channels = 2;
Uint16 Mix_Format = AUDIO_S16SYS;

// Channels are our own ids, never reused, so a stale id simply reports "not playing".
struct ChannelRec {
  Sound* Snd = nullptr;
  int Mix = -1;              // mixer channel of an effect once started
  Mix_Music* Music = nullptr;
  bool Started = false;      // cued channels wait paused until ResumeChannel
  float Volume = 1;
  uint32_t Started_At = 0;   // Millisecs() when it was resumed
};
std::unordered_map<int, ChannelRec> Channels;
int Next_Channel = 1;
std::vector<int> Mix_Owner;  // our channel id per mixer channel
int Stream_Channel = 0;      // the one streamed channel, 0 when none

bool EnsureAudio() {
  if (Audio_State == 0) {
    Audio_State = -1;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      SDL_Log("No audio: %s", SDL_GetError());
      return false;
    }
    Mix_Init(MIX_INIT_OGG);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
      SDL_Log("No audio: %s", Mix_GetError());
      return false;
    }
    Mix_QuerySpec(&Mix_Frequency, &Mix_Format, &Mix_Channels);
    Mix_AllocateChannels(First_Mix_Channels);
    Mix_Owner.assign(First_Mix_Channels, 0);
    Audio_State = 1;
  }
  return Audio_State > 0;
}

int Volume128(float v) { return int(std::lround(std::clamp(v, 0.0f, 1.0f) * MIX_MAX_VOLUME)); }

int FreeMixChannel() {
  int n = int(Mix_Owner.size());
  for (int i = 0; i < n; i++) {
    if (!Mix_Playing(i)) return i;
  }
  // Every channel is busy: make more, so any number of effects can sound at once.
  int grown = Mix_AllocateChannels(n * 2);
  Mix_Owner.resize(size_t(std::max(grown, n)), 0);
  return grown > n ? n : -1;
}

ChannelRec* Find(Channel ch) {
  auto it = Channels.find(ch);
  return it == Channels.end() ? nullptr : &it->second;
}

void Release(Channel ch) {
  ChannelRec* r = Find(ch);
  if (!r) return;
  if (r->Music) {
    if (Stream_Channel == ch) {
      Mix_HaltMusic();
      Stream_Channel = 0;
    }
    Mix_FreeMusic(r->Music);
  } else if (r->Started && r->Mix >= 0 && Mix_Owner[size_t(r->Mix)] == ch) {
    Mix_HaltChannel(r->Mix);
    Mix_Owner[size_t(r->Mix)] = 0;
  }
  Channels.erase(ch);
}

// Forgets effects that have finished, so a long session does not pile up records.
void SweepFinished() {
  if (Channels.size() < 256) return;
  std::vector<int> done;
  for (auto& [id, rec] : Channels) {
    if (!rec.Music && !ChannelPlaying(id)) done.push_back(id);
  }
  for (int id : done) Release(id);
}

}  // namespace

Sound* LoadSound(const String& url, int flags) {
  Sound* s = new Sound;
  s->Streamed = (flags & (SOUND_LOOP | SOUND_STREAM)) != 0;
  s->Loop = (flags & SOUND_LOOP) != 0;
  bool embedded;
  if (!EmbeddedUrl(url, &s->Data, &s->Size, &embedded)) {
    if (embedded || !ReadUrlBytes(url, &s->Bytes)) {
      delete s;
      return nullptr;
    }
    s->Data = s->Bytes.data();
    s->Size = s->Bytes.size();
  }
  if (!EnsureAudio()) return s;  // silent, but a valid handle
  if (s->Streamed) {
    if (Mix_Music* m = Mix_LoadMUS_RW(SDL_RWFromConstMem(s->Data, int(s->Size)), 1)) {
      double seconds = Mix_MusicDuration(m);
      if (seconds >= 0) s->Duration_Ms = seconds * 1000;
      Mix_FreeMusic(m);
    }
  } else {
    s->Chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(s->Data, int(s->Size)), 1);
    if (s->Chunk && s->Chunk->allocated && s->Chunk->alen > 0) {
      // The mixer converts an effect in a buffer sized for the worst case, up to four times the
      // converted sound; the rest goes back (the chunk frees its buffer with SDL_free).
      if (void* fitted = SDL_realloc(s->Chunk->abuf, s->Chunk->alen)) s->Chunk->abuf = static_cast<Uint8*>(fitted);
    }
    if (s->Chunk) {
      int frame_bytes = (SDL_AUDIO_BITSIZE(Mix_Format) / 8) * Mix_Channels;
      s->Duration_Ms = double(s->Chunk->alen) / frame_bytes * 1000.0 / Mix_Frequency;
    }
    // An effect never needs its encoded bytes again.
    s->Bytes.clear();
    s->Bytes.shrink_to_fit();
    s->Data = nullptr;
    s->Size = 0;
  }
  return s;
}

void PlaySound(Sound* sound) { ResumeChannel(CueSound(sound)); }

Channel CueSound(Sound* sound) {
  if (!sound || Audio_State <= 0) return 0;
  SweepFinished();
  ChannelRec rec;
  rec.Snd = sound;
  if (sound->Streamed) {
    // Only one stream plays at a time: a new one ends the previous one for good.
    if (Stream_Channel) Release(Stream_Channel);
    rec.Music = Mix_LoadMUS_RW(SDL_RWFromConstMem(sound->Data, int(sound->Size)), 1);
    if (!rec.Music) return 0;
  } else if (!sound->Chunk) {
    return 0;
  }
  int id = Next_Channel++;
  Channels[id] = rec;
  if (sound->Streamed) Stream_Channel = id;
  return id;
}

void ResumeChannel(Channel ch) {
  ChannelRec* r = Find(ch);
  if (!r || r->Started) return;
  // A channel that cannot start is let go: left cued, it would count as playing for ever and
  // hold back every sound that waits for it to end.
  if (r->Music) {
    Mix_VolumeMusic(Volume128(r->Volume));
    if (Mix_PlayMusic(r->Music, r->Snd->Loop ? -1 : 0) != 0) return Release(ch);
  } else {
    int mix = FreeMixChannel();
    if (mix < 0) return Release(ch);
    // The volume is set before the start, so a quiet channel never blips at full volume.
    Mix_Volume(mix, Volume128(r->Volume));
    if (Mix_PlayChannel(mix, r->Snd->Chunk, 0) < 0) return Release(ch);
    r->Mix = mix;
    Mix_Owner[size_t(mix)] = ch;
  }
  r->Started = true;
  r->Started_At = Millisecs();
}

void StopChannel(Channel ch) { Release(ch); }

void SetChannelVolume(Channel ch, float volume) {
  ChannelRec* r = Find(ch);
  if (!r) return;
  r->Volume = std::clamp(volume, 0.0f, 1.0f);
  if (r->Music) {
    if (Stream_Channel == ch) Mix_VolumeMusic(Volume128(r->Volume));
  } else if (r->Started && r->Mix >= 0 && Mix_Owner[size_t(r->Mix)] == ch) {
    Mix_Volume(r->Mix, Volume128(r->Volume));
  }
}

float ChannelVolume(Channel ch) {
  ChannelRec* r = Find(ch);
  return r ? r->Volume : 0;
}

int ChannelPlaying(Channel ch) {
  ChannelRec* r = Find(ch);
  if (!r) return 0;
  if (!r->Started) return 1;  // cued and waiting: it still holds its sound
  if (Virtual_Clock) {
    // Under the virtual clock the answer must not depend on how fast the machine mixes.
    if (r->Music && r->Snd->Loop) return Stream_Channel == ch ? 1 : 0;
    if (r->Snd->Duration_Ms >= 0) {
      return double(uint32_t(Millisecs() - r->Started_At)) < r->Snd->Duration_Ms ? 1 : 0;
    }
  }
  if (r->Music) return Stream_Channel == ch && Mix_PlayingMusic() ? 1 : 0;
  return r->Mix >= 0 && Mix_Owner[size_t(r->Mix)] == ch && Mix_Playing(r->Mix) ? 1 : 0;
}

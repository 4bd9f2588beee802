// The output, the volume states, samples, music and streams. Channel operations are in
// sound_channels.cpp.
#include "engine/sound.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "engine/engine_impl.h"
#include "engine/mixer_library.h"

namespace {

constexpr int kOutputChannels = 2;
constexpr int kChunkFrames = 1024;  // about 23 ms at 44100: the delay before a play is heard
constexpr int kHandleSerialBits = 28;
constexpr std::uint32_t kHandleSerialMask = (1u << kHandleSerialBits) - 1;

// The default output's name where the system tells it, else the audio driver's.
void LogDevice(EngineImpl& engine) {
  char* name = nullptr;
  SDL_AudioSpec spec;
  if (SDL_GetDefaultAudioInfo(&name, &spec, 0) == 0 && name != nullptr) {
    engine.System_Log("Sound Device: %s", name);
  } else {
    const char* driver = SDL_GetCurrentAudioDriver();
    engine.System_Log("Sound Device: %s", driver != nullptr ? driver : "unknown");
  }
  SDL_free(name);
}

}  // namespace

bool Sound::Open(int sampleRate) {
  if (open_) return true;
  // SDL's audio is started here and quit on close, so that every start finds the output anew.
  const bool audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  // No changes allowed: SDL converts to what the device wants, and the mixer works at the rate
  // the engine was given.
  if (!audioStarted || Mix.OpenAudioDevice(sampleRate, AUDIO_S16SYS, kOutputChannels, kChunkFrames,
                                           nullptr, 0) != 0) {
    engine_.System_Log("SDL2_mixer Init failed, using no sound");
    engine_.System_Log("SDL: %s", SDL_GetError());
    if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  Mix.QuerySpec(&rate, &format, &channels);
  bytesPerSecond_ = rate * channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
  open_ = true;
  LogDevice(engine_);
  engine_.System_Log("Sample rate: %ld\n", static_cast<long>(rate));
  return true;
}

void Sound::Close() {
  if (!open_) return;
  slides_.Clear();
  Mix.HaltChannel(-1);
  Mix.HaltMusic();
  for (auto& [handle, sample] : samples_) Mix.FreeChunk(sample.chunk);
  samples_.clear();
  // The decoder reads the bytes until its music is freed.
  for (auto& [handle, music] : music_) {
    Mix.FreeMusic(music.music);
    std::free(music.ownedBytes);
  }
  music_.clear();
  Mix.CloseAudio();
  channels_.clear();  // the audio thread is gone: nothing counts into them any more
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  current_ = 0;
  pausedAll_ = false;
  open_ = false;
}

void Sound::SetVolumes(int effectVolume, int musicVolume, int streamVolume) {
  effectVolume_ = std::clamp(effectVolume, 0, 100);
  musicVolume_ = std::clamp(musicVolume, 0, 100);
  streamVolume_ = std::clamp(streamVolume, 0, 100);
  if (!open_) return;
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    if (channels_[i]->handle != 0) ApplyChannel(static_cast<int>(i));
  }
  ApplyMusicVolume();
}

std::uint32_t Sound::NewHandle(Kind kind) {
  serial_ = (serial_ + 1) & kHandleSerialMask;
  if (serial_ == 0) serial_ = 1;
  return (static_cast<std::uint32_t>(kind) << kHandleSerialBits) | serial_;
}

const char* Sound::Describe(Limitation limitation) {
  switch (limitation) {
    case kNoPitch:
      return "change a channel's pitch";
    case kNoMusicPan:
      return "pan music or streams";
    case kNoSampleSeek:
      return "set the position of a sample's channel";
    case kNoTrackerPosition:
      return "tell or set a tracker music's orders and rows";
    case kNoAmplify:
      return "amplify music";
    case kNoInstrumentVolume:
      return "set instrument volumes";
    case kNoMusicChannelVolume:
      return "set a tracker music's channel volumes";
  }
  return "do that";
}

void Sound::Note(Limitation limitation) {
  if ((notedLimitations_ & limitation) != 0) return;
  notedLimitations_ |= limitation;
  engine_.System_Log("Sound: SDL2_mixer cannot %s; ignored", Describe(limitation));
}

// The bytes to decode: a file read through the engine's resources (size 0), a copy of the
// caller's bytes, or the caller's bytes themselves; whatever is allocated comes from malloc.
// Null, with the engine's error set, when there are none or too many for the mixer's reader.
void* Sound::LoadBytes(const char* dataOrName, std::uint32_t* size, bool copy,
                       const char* failure) {
  void* bytes = nullptr;
  if (*size == 0) {
    bytes = engine_.Resource_Load(dataOrName, size);
    if (bytes == nullptr) return nullptr;  // the resources have said why
  } else if (dataOrName != nullptr && copy) {
    bytes = std::malloc(*size);
    if (bytes != nullptr) std::memcpy(bytes, dataOrName, *size);
  } else {
    bytes = const_cast<char*>(dataOrName);
  }
  if (bytes != nullptr && *size > static_cast<std::uint32_t>(INT_MAX)) {
    if (bytes != dataOrName) std::free(bytes);
    bytes = nullptr;
  }
  if (bytes == nullptr) engine_.PostError("%s", failure);
  return bytes;
}

SampleHandle Sound::LoadSample(const char* dataOrName, std::uint32_t size) {
  if (!open_) return 0;
  const bool fromFile = size == 0;
  void* bytes = LoadBytes(dataOrName, &size, false, "Can't create sound effect");
  if (bytes == nullptr) return 0;
  // The mixer decodes the whole sample into its own buffer at the output's format.
  Mix_Chunk* chunk = Mix.LoadWAV_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
  if (fromFile) engine_.Resource_Free(bytes);
  if (chunk == nullptr) {
    const char* reason = SDL_GetError();
    if (std::strcmp(reason, "Out of memory") == 0) {
      engine_.PostError("Can't create sound effect: Not enough memory");
    } else {
      engine_.PostError("Can't create sound effect");
      engine_.System_Log("SDL2_mixer: %s", reason);
    }
    return 0;
  }
  const SampleHandle handle = NewHandle(kSampleKind);
  samples_.emplace(handle, Sample{chunk});
  return handle;
}

void Sound::FreeSample(SampleHandle sample) {
  const auto found = samples_.find(sample);
  if (found == samples_.end()) return;
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    Channel& channel = *channels_[i];
    if (channel.sample != sample) continue;
    Mix.HaltChannel(static_cast<int>(i));
    slides_.Stop(channel.handle);
    channel.handle = 0;
    channel.sample = 0;
  }
  Mix.FreeChunk(found->second.chunk);
  samples_.erase(found);
}

std::uint32_t Sound::AddMusic(Kind kind, const char* dataOrName, std::uint32_t size) {
  // The decoder reads as it plays: music keeps a copy, a stream the caller's bytes (or the file's).
  const char* failure = kind == kMusicKind ? "Can't load music" : "Can't load stream";
  void* bytes = LoadBytes(dataOrName, &size, kind == kMusicKind, failure);
  if (bytes == nullptr) return 0;
  void* owned = bytes != dataOrName ? bytes : nullptr;
  _Mix_Music* music = Mix.LoadMUS_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
  if (music == nullptr) {
    const char* reason = SDL_GetError();
    engine_.PostError("%s", failure);
    engine_.System_Log("SDL2_mixer: %s", reason);
    std::free(owned);
    return 0;
  }
  const std::uint32_t handle = NewHandle(kind);
  music_.emplace(handle, Music{music, owned, ChannelAttributes{}});
  return handle;
}

void Sound::FreeMusicOfKind(std::uint32_t handle, Kind kind) {
  if (KindOf(handle) != kind) return;
  const auto found = music_.find(handle);
  if (found == music_.end()) return;
  if (IsCurrentMusic(handle)) current_ = 0;
  slides_.Stop(handle);
  // The music first: its decoder may read the bytes until then.
  Mix.FreeMusic(found->second.music);
  std::free(found->second.ownedBytes);
  music_.erase(found);
}

Sound::Music* Sound::FindMusic(std::uint32_t handle, Kind kind) {
  if (KindOf(handle) != kind) return nullptr;
  const auto found = music_.find(handle);
  return found != music_.end() ? &found->second : nullptr;
}

Sound::Music* Sound::FindMusic(std::uint32_t handle) {
  const Kind kind = KindOf(handle);
  return kind == kMusicKind || kind == kStreamKind ? FindMusic(handle, kind) : nullptr;
}

bool Sound::StartMusic(std::uint32_t handle, Music& music, bool loop) {
  // Silent until paused again when everything is paused, so that nothing slips out meanwhile.
  if (pausedAll_) Mix.VolumeMusic(0);
  if (Mix.PlayMusic(music.music, loop ? -1 : 0) != 0) {
    engine_.System_Log("SDL2_mixer: %s", SDL_GetError());
    ApplyMusicVolume();
    return false;
  }
  if (pausedAll_) Mix.PauseMusic();
  current_ = handle;
  music.paused = false;
  ApplyMusicVolume();
  return true;
}

void Sound::ApplyMusicVolume() {
  const Music* music = FindMusic(current_);
  if (music == nullptr) return;
  const int state = KindOf(current_) == kStreamKind ? streamVolume_ : musicVolume_;
  Mix.VolumeMusic(music->attributes.volume * state * MIX_MAX_VOLUME / (100 * 100));
}

MusicHandle Sound::LoadMusic(const char* dataOrName, std::uint32_t size) {
  return open_ ? AddMusic(kMusicKind, dataOrName, size) : 0;
}

void Sound::FreeMusic(MusicHandle music) {
  FreeMusicOfKind(music, kMusicKind);
}

ChannelHandle Sound::PlayMusic(MusicHandle handle, bool loop, int order, int row) {
  Music* music = FindMusic(handle, kMusicKind);
  if (music == nullptr) return 0;
  if (!IsCurrentMusic(handle) || Mix.PlayingMusic() == 0) {
    if (!StartMusic(handle, *music, loop)) return 0;
  } else if (music->paused) {
    Resume(handle);
  }
  SetMusicPosition(handle, order, row);
  return handle;
}

void Sound::SetMusicPosition(MusicHandle music, int order, int row) {
  if (!IsCurrentMusic(music) || FindMusic(music, kMusicKind) == nullptr) return;
  if (order >= 0 && Mix.ModMusicJumpToOrder(order) != 0) {
    engine_.System_Log("SDL2_mixer: can't jump to order %d: %s", order, SDL_GetError());
  }
  if (row >= 0) Note(kNoTrackerPosition);
}

void Sound::SetMusicAmplify(MusicHandle music, int) {
  if (FindMusic(music, kMusicKind) != nullptr) Note(kNoAmplify);
}

int Sound::MusicAmplify(MusicHandle music) {
  if (FindMusic(music, kMusicKind) != nullptr) Note(kNoAmplify);
  return -1;
}

int Sound::MusicOrders(MusicHandle music) {
  if (FindMusic(music, kMusicKind) != nullptr) Note(kNoTrackerPosition);
  return -1;
}

bool Sound::MusicPosition(MusicHandle music, int*, int*) {
  if (FindMusic(music, kMusicKind) != nullptr) Note(kNoTrackerPosition);
  return false;
}

void Sound::SetInstrumentVolume(MusicHandle music, int, int) {
  if (FindMusic(music, kMusicKind) != nullptr) Note(kNoInstrumentVolume);
}

int Sound::InstrumentVolume(MusicHandle music, int) {
  if (FindMusic(music, kMusicKind) != nullptr) Note(kNoInstrumentVolume);
  return -1;
}

void Sound::SetMusicChannelVolume(MusicHandle music, int, int) {
  if (FindMusic(music, kMusicKind) != nullptr) Note(kNoMusicChannelVolume);
}

int Sound::MusicChannelVolume(MusicHandle music, int) {
  if (FindMusic(music, kMusicKind) != nullptr) Note(kNoMusicChannelVolume);
  return -1;
}

StreamHandle Sound::LoadStream(const char* dataOrName, std::uint32_t size) {
  return open_ ? AddMusic(kStreamKind, dataOrName, size) : 0;
}

void Sound::FreeStream(StreamHandle stream) {
  FreeMusicOfKind(stream, kStreamKind);
}

ChannelHandle Sound::PlayStream(StreamHandle handle, bool loop) {
  Music* stream = FindMusic(handle, kStreamKind);
  if (stream == nullptr || !StartMusic(handle, *stream, loop)) return 0;
  return handle;
}

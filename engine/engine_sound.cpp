// Sound. This program runs with sound off: every operation answers the empty value of a missing
// sound library. When sound is switched on, SDL2_mixer is loaded at run time and opened so that
// the device and rate are known; playing through it is not needed by this program.
#include <SDL2/SDL_loadso.h>

#include "engine/engine_impl.h"

namespace {

constexpr const char* kMixerLibrary = "libSDL2_mixer-2.0.so.0";
constexpr int kMixerMajorVersion = 2;
constexpr unsigned short kMixerFormat = 0x8010;  // AUDIO_S16LSB
constexpr int kMixerChannels = 2;
constexpr int kMixerChunkSize = 1024;
constexpr int kMixerMaxVolume = 128;
constexpr int kEngineMaxVolume = 100;
constexpr SampleHandle kSilentHandle = 1;

struct MixerVersion {
  unsigned char major, minor, patch;
};

struct Mixer {
  const MixerVersion* (*linkedVersion)();
  int (*openAudio)(int rate, unsigned short format, int channels, int chunkSize);
  void (*closeAudio)();
  void (*quit)();
  int (*volume)(int channel, int volume);
  int (*volumeMusic)(int volume);
};
Mixer mixer{};
// SDL2_mixer stays mapped once loaded: unmapping it would strand what it allocated for itself.
void* mixerModule = nullptr;

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(SDL_LoadFunction(library, name));
  return function != nullptr;
}

bool FindAll(void* library) {
  return Find(library, "Mix_Linked_Version", mixer.linkedVersion) &&
         Find(library, "Mix_OpenAudio", mixer.openAudio) &&
         Find(library, "Mix_CloseAudio", mixer.closeAudio) &&
         Find(library, "Mix_Quit", mixer.quit) && Find(library, "Mix_Volume", mixer.volume) &&
         Find(library, "Mix_VolumeMusic", mixer.volumeMusic);
}

int MixerVolume(int engineVolume) {
  return engineVolume * kMixerMaxVolume / kEngineMaxVolume;
}

}  // namespace

bool EngineImpl::StartSound() {
  if (!soundOn || soundLibrary != nullptr) return true;
  if (mixerModule == nullptr) {
    void* library = SDL_LoadObject(kMixerLibrary);
    if (library == nullptr) {
      PostError("Can't load %s", kMixerLibrary);
      return false;
    }
    if (!FindAll(library) || mixer.linkedVersion()->major != kMixerMajorVersion) {
      SDL_UnloadObject(library);
      PostError("Incorrect %s version", kMixerLibrary);
      return false;
    }
    mixerModule = library;
  }
  soundLibrary = mixerModule;
  soundSilent = mixer.openAudio(sampleRate, kMixerFormat, kMixerChannels, kMixerChunkSize) != 0;
  if (soundSilent) {
    System_Log("SDL2_mixer Init failed, using no sound");
  } else {
    System_Log("Sound Device: %s", "default output");
    System_Log("Sample rate: %ld\n", static_cast<long>(sampleRate));
  }
  ApplySoundVolumes();
  return true;
}

void EngineImpl::StopSound() {
  if (soundLibrary == nullptr) return;
  if (!soundSilent) mixer.closeAudio();
  mixer.quit();
  soundLibrary = nullptr;
  soundSilent = false;
}

void EngineImpl::ApplySoundVolumes() {
  if (soundLibrary == nullptr || soundSilent) return;
  mixer.volume(-1, MixerVolume(effectVolume));
  mixer.volumeMusic(MixerVolume(musicVolume));
}

SampleHandle EngineImpl::Sound_LoadSample(const char*, std::uint32_t) {
  return soundSilent ? kSilentHandle : 0;
}
void EngineImpl::Sound_FreeSample(SampleHandle) {}
ChannelHandle EngineImpl::Sound_PlaySample(SampleHandle) {
  return 0;
}
ChannelHandle EngineImpl::Sound_PlaySampleEx(SampleHandle, int, int, float, bool) {
  return 0;
}
MusicHandle EngineImpl::Sound_LoadMusic(const char*, std::uint32_t) {
  return 0;
}
void EngineImpl::Sound_FreeMusic(MusicHandle) {}
ChannelHandle EngineImpl::Sound_PlayMusic(MusicHandle, bool, int, int) {
  return 0;
}
void EngineImpl::Sound_SetMusicAmplify(MusicHandle, int) {}
int EngineImpl::Sound_GetMusicAmplify(MusicHandle) {
  return -1;
}
int EngineImpl::Sound_GetMusicLength(MusicHandle) {
  return -1;
}
void EngineImpl::Sound_SetMusicPosition(MusicHandle, int, int) {}
bool EngineImpl::Sound_GetMusicPosition(MusicHandle, int*, int*) {
  return false;
}
void EngineImpl::Sound_SetInstrumentVolume(MusicHandle, int, int) {}
int EngineImpl::Sound_GetInstrumentVolume(MusicHandle, int) {
  return -1;
}
void EngineImpl::Sound_SetMusicChannelVolume(MusicHandle, int, int) {}
int EngineImpl::Sound_GetMusicChannelVolume(MusicHandle, int) {
  return -1;
}
StreamHandle EngineImpl::Sound_LoadStream(const char*, std::uint32_t) {
  return soundSilent ? kSilentHandle : 0;
}
void EngineImpl::Sound_FreeStream(StreamHandle) {}
ChannelHandle EngineImpl::Sound_PlayStream(StreamHandle, bool) {
  return 0;
}

void EngineImpl::Channel_SetPanning(ChannelHandle, int) {}
void EngineImpl::Channel_SetVolume(ChannelHandle, int) {}
void EngineImpl::Channel_SetPitch(ChannelHandle, float) {}
void EngineImpl::Channel_Pause(ChannelHandle) {}
void EngineImpl::Channel_Resume(ChannelHandle) {}
void EngineImpl::Channel_Stop(ChannelHandle) {}
void EngineImpl::Channel_PauseAll() {}
void EngineImpl::Channel_ResumeAll() {}
void EngineImpl::Channel_StopAll() {}
bool EngineImpl::Channel_IsPlaying(ChannelHandle) {
  return false;
}
float EngineImpl::Channel_GetLength(ChannelHandle) {
  return -1.0f;
}
float EngineImpl::Channel_GetPosition(ChannelHandle) {
  return -1.0f;
}
void EngineImpl::Channel_SetPosition(ChannelHandle, float) {}
void EngineImpl::Channel_SlideTo(ChannelHandle, float, int, int, float) {}
bool EngineImpl::Channel_IsSliding(ChannelHandle) {
  return false;
}

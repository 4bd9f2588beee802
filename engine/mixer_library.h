#pragma once
// SDL2_mixer, loaded at run time only when sound is switched on: the program never links it, so
// it runs (silently) where the library is not installed. The header is included for the types of
// the entry points alone; every call goes through the pointers in Mix.

#include <SDL2/SDL_mixer.h>

// The entry points the engine calls, looked up by name; all must be present.
struct MixerFunctions {
  decltype(&Mix_Linked_Version) LinkedVersion;
  decltype(&Mix_OpenAudioDevice) OpenAudioDevice;
  decltype(&Mix_CloseAudio) CloseAudio;
  decltype(&Mix_Quit) Quit;
  decltype(&Mix_QuerySpec) QuerySpec;
  decltype(&Mix_AllocateChannels) AllocateChannels;
  decltype(&Mix_LoadWAV_RW) LoadWAV_RW;
  decltype(&Mix_FreeChunk) FreeChunk;
  decltype(&Mix_LoadMUS_RW) LoadMUS_RW;
  decltype(&Mix_FreeMusic) FreeMusic;
  decltype(&Mix_PlayChannel) PlayChannel;
  decltype(&Mix_HaltChannel) HaltChannel;
  decltype(&Mix_Pause) Pause;
  decltype(&Mix_Resume) Resume;
  decltype(&Mix_Paused) Paused;
  decltype(&Mix_Playing) Playing;
  decltype(&Mix_Volume) Volume;
  decltype(&Mix_SetPanning) SetPanning;
  decltype(&Mix_RegisterEffect) RegisterEffect;
  decltype(&Mix_UnregisterAllEffects) UnregisterAllEffects;
  decltype(&Mix_PlayMusic) PlayMusic;
  decltype(&Mix_HaltMusic) HaltMusic;
  decltype(&Mix_PauseMusic) PauseMusic;
  decltype(&Mix_ResumeMusic) ResumeMusic;
  decltype(&Mix_PausedMusic) PausedMusic;
  decltype(&Mix_PlayingMusic) PlayingMusic;
  decltype(&Mix_VolumeMusic) VolumeMusic;
  decltype(&Mix_SetMusicPosition) SetMusicPosition;
  decltype(&Mix_GetMusicPosition) GetMusicPosition;
  decltype(&Mix_MusicDuration) MusicDuration;
  decltype(&Mix_ModMusicJumpToOrder) ModMusicJumpToOrder;
};

// The entry points of the loaded library; null pointers until LoadMixer succeeds once.
extern MixerFunctions Mix;

enum class MixerLoad {
  kLoaded,
  kMissing,       // the file could not be loaded
  kWrongVersion,  // not SDL2_mixer 2.6 or later, or an entry point is missing
};

// Loads the library from fileName, fills Mix and hands out the library's module. A library loaded
// once stays mapped for the rest of the process (unmapping it would strand what it allocated for
// itself), so loading the same file again costs nothing. On failure Mix keeps what it had.
MixerLoad LoadMixer(const char* fileName, void** module);

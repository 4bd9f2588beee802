#include "engine/mixer_library.h"

#include <SDL2/SDL_error.h>
#include <SDL2/SDL_loadso.h>

#include <string>

MixerFunctions Mix{};

namespace {

// Music durations, positions and order jumps arrived in 2.6.
constexpr int kRequiredMajor = 2;
constexpr int kRequiredMinor = 6;

void* loadedModule = nullptr;
std::string loadedFile;

template <typename Function>
bool Find(void* module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(SDL_LoadFunction(module, name));
  return function != nullptr;
}

bool FindAll(void* module, MixerFunctions& f) {
  return Find(module, "Mix_Linked_Version", f.LinkedVersion) &&
         Find(module, "Mix_OpenAudioDevice", f.OpenAudioDevice) &&
         Find(module, "Mix_CloseAudio", f.CloseAudio) && Find(module, "Mix_Quit", f.Quit) &&
         Find(module, "Mix_QuerySpec", f.QuerySpec) &&
         Find(module, "Mix_AllocateChannels", f.AllocateChannels) &&
         Find(module, "Mix_LoadWAV_RW", f.LoadWAV_RW) &&
         Find(module, "Mix_FreeChunk", f.FreeChunk) &&
         Find(module, "Mix_LoadMUS_RW", f.LoadMUS_RW) &&
         Find(module, "Mix_FreeMusic", f.FreeMusic) &&
         Find(module, "Mix_PlayChannel", f.PlayChannel) &&
         Find(module, "Mix_HaltChannel", f.HaltChannel) && Find(module, "Mix_Pause", f.Pause) &&
         Find(module, "Mix_Resume", f.Resume) && Find(module, "Mix_Paused", f.Paused) &&
         Find(module, "Mix_Playing", f.Playing) && Find(module, "Mix_Volume", f.Volume) &&
         Find(module, "Mix_SetPanning", f.SetPanning) &&
         Find(module, "Mix_RegisterEffect", f.RegisterEffect) &&
         Find(module, "Mix_UnregisterAllEffects", f.UnregisterAllEffects) &&
         Find(module, "Mix_PlayMusic", f.PlayMusic) && Find(module, "Mix_HaltMusic", f.HaltMusic) &&
         Find(module, "Mix_PauseMusic", f.PauseMusic) &&
         Find(module, "Mix_ResumeMusic", f.ResumeMusic) &&
         Find(module, "Mix_PausedMusic", f.PausedMusic) &&
         Find(module, "Mix_PlayingMusic", f.PlayingMusic) &&
         Find(module, "Mix_VolumeMusic", f.VolumeMusic) &&
         Find(module, "Mix_SetMusicPosition", f.SetMusicPosition) &&
         Find(module, "Mix_GetMusicPosition", f.GetMusicPosition) &&
         Find(module, "Mix_MusicDuration", f.MusicDuration) &&
         Find(module, "Mix_ModMusicJumpToOrder", f.ModMusicJumpToOrder);
}

bool RecentEnough(const SDL_version* version) {
  return version != nullptr && version->major == kRequiredMajor && version->minor >= kRequiredMinor;
}

}  // namespace

MixerLoad LoadMixer(const char* fileName, void** module) {
  if (loadedModule != nullptr && loadedFile == fileName) {
    *module = loadedModule;
    return MixerLoad::kLoaded;
  }
  void* opened = SDL_LoadObject(fileName);
  if (opened == nullptr) return MixerLoad::kMissing;
  MixerFunctions found{};
  if (!FindAll(opened, found) || !RecentEnough(found.LinkedVersion())) {
    SDL_UnloadObject(opened);
    return MixerLoad::kWrongVersion;
  }
  Mix = found;
  loadedModule = opened;
  loadedFile = fileName;
  *module = opened;
  return MixerLoad::kLoaded;
}

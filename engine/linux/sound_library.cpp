// Starting and stopping sound: SDL2_mixer is loaded when sound starts (System_Initiate, or
// STATE_SOUND switched on with a window).
#include <SDL2/SDL_error.h>

#include "engine/engine_impl.h"
#include "engine/mixer_library.h"

bool EngineImpl::StartSound() {
  if (!soundOn || soundLibrary != nullptr) return true;
  switch (LoadMixer(soundLibraryFile, &soundLibrary)) {
    case MixerLoad::kMissing:
      PostError("Can't load %s", soundLibraryFile);
      System_Log("SDL: %s", SDL_GetError());
      return false;
    case MixerLoad::kWrongVersion:
      PostError("Incorrect %s version", soundLibraryFile);
      return false;
    case MixerLoad::kLoaded:
      break;
  }
  // No output device is no error: the engine runs silent.
  soundSilent = !sound.Open(sampleRate);
  ApplySoundVolumes();
  return true;
}

void EngineImpl::StopSound() {
  if (soundLibrary == nullptr) return;
  sound.Close();
  Mix.Quit();
  soundLibrary = nullptr;
  soundSilent = false;
}

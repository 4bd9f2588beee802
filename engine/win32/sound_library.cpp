// Starting and stopping sound on Windows, where the program carries no mixer library: sound that
// is switched on runs silent, with a log line, and every operation answers its empty value.
#include "engine/engine_impl.h"

bool EngineImpl::StartSound() {
  if (!soundOn || soundSilent) return true;
  System_Log("Sound: no mixer library on this system; running silent");
  soundSilent = true;
  return true;
}

void EngineImpl::StopSound() {
  soundSilent = false;
}

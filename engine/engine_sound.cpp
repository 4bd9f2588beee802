// Sound. The mixer library is loaded when sound starts (sound_library.cpp of the platform's
// folder); until then, and when it cannot be loaded, every operation answers the empty value of a
// missing library. The work is done by Sound.
#include "engine/engine_impl.h"

namespace {

// What sample and stream loads answer while the engine runs silent.
constexpr std::uint32_t kSilentHandle = 1;

}  // namespace

void EngineImpl::ApplySoundVolumes() {
  sound.SetVolumes(effectVolume, musicVolume, streamVolume);
}

SampleHandle EngineImpl::Sound_LoadSample(const char* dataOrName, std::uint32_t size) {
  if (soundSilent) return kSilentHandle;
  return sound.LoadSample(dataOrName, size);
}
void EngineImpl::Sound_FreeSample(SampleHandle sample) {
  sound.FreeSample(sample);
}
ChannelHandle EngineImpl::Sound_PlaySample(SampleHandle sample) {
  return sound.PlaySample(sample, ChannelAttributes{}, false);
}
ChannelHandle EngineImpl::Sound_PlaySampleEx(SampleHandle sample, int volume, int pan, float pitch,
                                             bool loop) {
  return sound.PlaySample(sample, ChannelAttributes{volume, pan, pitch}, loop);
}

MusicHandle EngineImpl::Sound_LoadMusic(const char* dataOrName, std::uint32_t size) {
  if (soundSilent) return kSilentHandle;
  return sound.LoadMusic(dataOrName, size);
}
void EngineImpl::Sound_FreeMusic(MusicHandle music) {
  sound.FreeMusic(music);
}
ChannelHandle EngineImpl::Sound_PlayMusic(MusicHandle music, bool loop, int order, int row) {
  return sound.PlayMusic(music, loop, order, row);
}
void EngineImpl::Sound_SetMusicAmplify(MusicHandle music, int amplify) {
  sound.SetMusicAmplify(music, amplify);
}
int EngineImpl::Sound_GetMusicAmplify(MusicHandle music) {
  return sound.MusicAmplify(music);
}
int EngineImpl::Sound_GetMusicLength(MusicHandle music) {
  return sound.MusicOrders(music);
}
void EngineImpl::Sound_SetMusicPosition(MusicHandle music, int order, int row) {
  sound.SetMusicPosition(music, order, row);
}
bool EngineImpl::Sound_GetMusicPosition(MusicHandle music, int* order, int* row) {
  return sound.MusicPosition(music, order, row);
}
void EngineImpl::Sound_SetInstrumentVolume(MusicHandle music, int instrument, int volume) {
  sound.SetInstrumentVolume(music, instrument, volume);
}
int EngineImpl::Sound_GetInstrumentVolume(MusicHandle music, int instrument) {
  return sound.InstrumentVolume(music, instrument);
}
void EngineImpl::Sound_SetMusicChannelVolume(MusicHandle music, int channel, int volume) {
  sound.SetMusicChannelVolume(music, channel, volume);
}
int EngineImpl::Sound_GetMusicChannelVolume(MusicHandle music, int channel) {
  return sound.MusicChannelVolume(music, channel);
}

StreamHandle EngineImpl::Sound_LoadStream(const char* dataOrName, std::uint32_t size) {
  if (soundSilent) return kSilentHandle;
  return sound.LoadStream(dataOrName, size);
}
void EngineImpl::Sound_FreeStream(StreamHandle stream) {
  sound.FreeStream(stream);
}
ChannelHandle EngineImpl::Sound_PlayStream(StreamHandle stream, bool loop) {
  return sound.PlayStream(stream, loop);
}

void EngineImpl::Channel_SetPanning(ChannelHandle channel, int pan) {
  sound.SetAttributes(channel, kKeepVolume, pan, kKeepPitch);
}
void EngineImpl::Channel_SetVolume(ChannelHandle channel, int volume) {
  sound.SetAttributes(channel, volume, kKeepPan, kKeepPitch);
}
void EngineImpl::Channel_SetPitch(ChannelHandle channel, float pitch) {
  sound.SetAttributes(channel, kKeepVolume, kKeepPan, pitch);
}
void EngineImpl::Channel_Pause(ChannelHandle channel) {
  sound.Pause(channel);
}
void EngineImpl::Channel_Resume(ChannelHandle channel) {
  sound.Resume(channel);
}
void EngineImpl::Channel_Stop(ChannelHandle channel) {
  sound.Stop(channel);
}
void EngineImpl::Channel_PauseAll() {
  sound.PauseAll();
}
void EngineImpl::Channel_ResumeAll() {
  sound.ResumeAll();
}
void EngineImpl::Channel_StopAll() {
  sound.StopAll();
}
bool EngineImpl::Channel_IsPlaying(ChannelHandle channel) {
  return sound.IsPlaying(channel);
}
float EngineImpl::Channel_GetLength(ChannelHandle channel) {
  return sound.Length(channel);
}
float EngineImpl::Channel_GetPosition(ChannelHandle channel) {
  return sound.Position(channel);
}
void EngineImpl::Channel_SetPosition(ChannelHandle channel, float seconds) {
  sound.SetPosition(channel, seconds);
}
void EngineImpl::Channel_SlideTo(ChannelHandle channel, float seconds, int volume, int pan,
                                 float pitch) {
  sound.SlideTo(channel, seconds, volume, pan, pitch);
}
bool EngineImpl::Channel_IsSliding(ChannelHandle channel) {
  return sound.IsSliding(channel);
}

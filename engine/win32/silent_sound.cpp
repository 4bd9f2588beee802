// The sound part where no mixer library is carried (Windows): the output never opens, so every
// operation does nothing and answers the empty value the header names.
#include "engine/engine_impl.h"
#include "engine/sound.h"

bool Sound::Open(int) {
  return false;
}
void Sound::Close() {}
void Sound::SetVolumes(int, int, int) {}
void Sound::AdvanceSlides(float) {}

SampleHandle Sound::LoadSample(const char*, std::uint32_t) {
  return 0;
}
void Sound::FreeSample(SampleHandle) {}
ChannelHandle Sound::PlaySample(SampleHandle, const ChannelAttributes&, bool) {
  return 0;
}

MusicHandle Sound::LoadMusic(const char*, std::uint32_t) {
  return 0;
}
void Sound::FreeMusic(MusicHandle) {}
ChannelHandle Sound::PlayMusic(MusicHandle, bool, int, int) {
  return 0;
}
void Sound::SetMusicPosition(MusicHandle, int, int) {}
void Sound::SetMusicAmplify(MusicHandle, int) {}
int Sound::MusicAmplify(MusicHandle) {
  return -1;
}
int Sound::MusicOrders(MusicHandle) {
  return -1;
}
bool Sound::MusicPosition(MusicHandle, int*, int*) {
  return false;
}
void Sound::SetInstrumentVolume(MusicHandle, int, int) {}
int Sound::InstrumentVolume(MusicHandle, int) {
  return -1;
}
void Sound::SetMusicChannelVolume(MusicHandle, int, int) {}
int Sound::MusicChannelVolume(MusicHandle, int) {
  return -1;
}

StreamHandle Sound::LoadStream(const char*, std::uint32_t) {
  return 0;
}
void Sound::FreeStream(StreamHandle) {}
ChannelHandle Sound::PlayStream(StreamHandle, bool) {
  return 0;
}

void Sound::SetAttributes(ChannelHandle, int, int, float) {}
void Sound::Pause(ChannelHandle) {}
void Sound::Resume(ChannelHandle) {}
void Sound::Stop(ChannelHandle) {}
void Sound::PauseAll() {}
void Sound::ResumeAll() {}
void Sound::StopAll() {}
bool Sound::IsPlaying(ChannelHandle) {
  return false;
}
float Sound::Length(ChannelHandle) {
  return -1.0f;
}
float Sound::Position(ChannelHandle) {
  return -1.0f;
}
void Sound::SetPosition(ChannelHandle, float) {}
void Sound::SlideTo(ChannelHandle, float, int, int, float) {}
bool Sound::IsSliding(ChannelHandle) const {
  return false;
}

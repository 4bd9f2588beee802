// Placeholder bodies until this part is built.
#include "engine/engine_impl.h"

SampleHandle EngineImpl::Sound_LoadSample(const char* /*dataOrName*/, std::uint32_t /*size*/) { return {}; }
void EngineImpl::Sound_FreeSample(SampleHandle /*sample*/) {}
ChannelHandle EngineImpl::Sound_PlaySample(SampleHandle /*sample*/) { return {}; }
ChannelHandle EngineImpl::Sound_PlaySampleEx(SampleHandle /*sample*/, int /*volume*/, int /*pan*/, float /*pitch*/, bool /*loop*/) { return {}; }
MusicHandle EngineImpl::Sound_LoadMusic(const char* /*dataOrName*/, std::uint32_t /*size*/) { return {}; }
void EngineImpl::Sound_FreeMusic(MusicHandle /*music*/) {}
ChannelHandle EngineImpl::Sound_PlayMusic(MusicHandle /*music*/, bool /*loop*/, int /*order*/, int /*row*/) { return {}; }
void EngineImpl::Sound_SetMusicAmplify(MusicHandle /*music*/, int /*amplify*/) {}
int EngineImpl::Sound_GetMusicAmplify(MusicHandle /*music*/) { return {}; }
int EngineImpl::Sound_GetMusicLength(MusicHandle /*music*/) { return {}; }
void EngineImpl::Sound_SetMusicPosition(MusicHandle /*music*/, int /*order*/, int /*row*/) {}
bool EngineImpl::Sound_GetMusicPosition(MusicHandle /*music*/, int* /*order*/, int* /*row*/) { return {}; }
void EngineImpl::Sound_SetInstrumentVolume(MusicHandle /*music*/, int /*instrument*/, int /*volume*/) {}
int EngineImpl::Sound_GetInstrumentVolume(MusicHandle /*music*/, int /*instrument*/) { return {}; }
void EngineImpl::Sound_SetMusicChannelVolume(MusicHandle /*music*/, int /*channel*/, int /*volume*/) {}
int EngineImpl::Sound_GetMusicChannelVolume(MusicHandle /*music*/, int /*channel*/) { return {}; }
StreamHandle EngineImpl::Sound_LoadStream(const char* /*dataOrName*/, std::uint32_t /*size*/) { return {}; }
void EngineImpl::Sound_FreeStream(StreamHandle /*stream*/) {}
ChannelHandle EngineImpl::Sound_PlayStream(StreamHandle /*stream*/, bool /*loop*/) { return {}; }
void EngineImpl::Channel_SetPanning(ChannelHandle /*channel*/, int /*pan*/) {}
void EngineImpl::Channel_SetVolume(ChannelHandle /*channel*/, int /*volume*/) {}
void EngineImpl::Channel_SetPitch(ChannelHandle /*channel*/, float /*pitch*/) {}
void EngineImpl::Channel_Pause(ChannelHandle /*channel*/) {}
void EngineImpl::Channel_Resume(ChannelHandle /*channel*/) {}
void EngineImpl::Channel_Stop(ChannelHandle /*channel*/) {}
void EngineImpl::Channel_PauseAll() {}
void EngineImpl::Channel_ResumeAll() {}
void EngineImpl::Channel_StopAll() {}
bool EngineImpl::Channel_IsPlaying(ChannelHandle /*channel*/) { return {}; }
float EngineImpl::Channel_GetLength(ChannelHandle /*channel*/) { return {}; }
float EngineImpl::Channel_GetPosition(ChannelHandle /*channel*/) { return {}; }
void EngineImpl::Channel_SetPosition(ChannelHandle /*channel*/, float /*seconds*/) {}
void EngineImpl::Channel_SlideTo(ChannelHandle /*channel*/, float /*seconds*/, int /*volume*/, int /*pan*/, float /*pitch*/) {}
bool EngineImpl::Channel_IsSliding(ChannelHandle /*channel*/) { return {}; }

// Channels: plays of samples on the mixer's channels, and the music player as the channel of the
// music or stream on it. Their attributes, pausing, positions and slides.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cassert>

#include "engine/engine_impl.h"
#include "engine/mixer_library.h"
#include "engine/sound.h"

namespace {

constexpr int kPlaysPerSample = 4;
constexpr int kFirstChannelCount = 16;
constexpr int kMostChannels = 256;
constexpr int kPanFull = 255;  // the mixer's loudness of one side

// Counts what the mixer takes from the sample: the channel's position, as the mixer plays it.
void SDLCALL CountMixed(int, void*, int length, void* mixedBytes) {
  static_cast<std::atomic<std::uint64_t>*>(mixedBytes)
      ->fetch_add(static_cast<std::uint64_t>(length), std::memory_order_relaxed);
}

}  // namespace

int Sound::ChannelIndex(ChannelHandle handle) const {
  if (handle == 0 || KindOf(handle) != kChannelKind) return -1;
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    if (channels_[i]->handle == handle) return static_cast<int>(i);
  }
  return -1;
}

const Mix_Chunk* Sound::ChunkOf(const Channel& channel) const {
  // A channel with a handle plays a loaded sample: freeing the sample takes the handle away.
  const auto found = samples_.find(channel.sample);
  assert(found != samples_.end());
  return found->second.chunk;
}

// A free mixer channel for a play of the sample. A sample already playing four times gives up
// the quietest of its plays, the oldest among equals.
int Sound::ChannelFor(SampleHandle sample) {
  int plays = 0;
  int quietest = -1;
  int free = -1;
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    const int index = static_cast<int>(i);
    const Channel& channel = *channels_[i];
    if (Mix.Playing(index) == 0) {
      if (free < 0) free = index;
      continue;
    }
    if (channel.sample != sample) continue;
    ++plays;
    if (quietest < 0 || channel.attributes.volume < channels_[quietest]->attributes.volume ||
        (channel.attributes.volume == channels_[quietest]->attributes.volume &&
         channel.handle < channels_[quietest]->handle)) {
      quietest = index;
    }
  }
  if (plays >= kPlaysPerSample) {
    slides_.Stop(channels_[quietest]->handle);
    Mix.HaltChannel(quietest);
    return quietest;
  }
  return free >= 0 ? free : AddChannels();
}

// More mixer channels, the first of them answered; -1 when there may be no more.
int Sound::AddChannels() {
  const int before = static_cast<int>(channels_.size());
  if (before >= kMostChannels) {
    engine_.System_Log("Sound: all %d channels are playing", before);
    return -1;
  }
  const int after = before == 0 ? kFirstChannelCount : before * 2;
  if (Mix.AllocateChannels(after) != after) return -1;
  for (int i = before; i < after; ++i) channels_.push_back(std::make_unique<Channel>());
  return before;
}

bool Sound::StartChannel(int index, Mix_Chunk* chunk, bool loop) {
  Channel& channel = *channels_[index];
  channel.mixedBytes.store(0, std::memory_order_relaxed);
  // A channel's effects go when its play ends, so the counter joins every play anew.
  if (Mix.RegisterEffect(index, CountMixed, nullptr, &channel.mixedBytes) == 0) {
    engine_.System_Log("SDL2_mixer: %s", SDL_GetError());
    return false;
  }
  // Silent until paused when everything is paused, so that nothing slips out meanwhile.
  if (pausedAll_) Mix.Volume(index, 0);
  if (Mix.PlayChannel(index, chunk, loop ? -1 : 0) != index) {
    engine_.System_Log("SDL2_mixer: %s", SDL_GetError());
    Mix.UnregisterAllEffects(index);
    return false;
  }
  if (pausedAll_) Mix.Pause(index);
  return true;
}

ChannelHandle Sound::PlaySample(SampleHandle sample, const ChannelAttributes& attributes,
                                bool loop) {
  const auto found = samples_.find(sample);
  if (found == samples_.end()) return 0;
  const int index = ChannelFor(sample);
  if (index < 0 || !StartChannel(index, found->second.chunk, loop)) return 0;
  Channel& channel = *channels_[index];
  channel.handle = NewHandle(kChannelKind);
  channel.sample = sample;
  channel.loop = loop;
  channel.paused = false;
  ApplyAttributes(channel.handle, channel.attributes, attributes, kSlideAll);
  return channel.handle;
}

// Copies the chosen attributes, within their ranges, and hands them to the mixer.
void Sound::ApplyAttributes(std::uint32_t handle, ChannelAttributes& to,
                            const ChannelAttributes& from, unsigned which) {
  if ((which & kSlideVolume) != 0) to.volume = std::clamp(from.volume, 0, 100);
  if ((which & kSlidePan) != 0) to.pan = std::clamp(from.pan, -100, 100);
  if ((which & kSlidePitch) != 0) {
    to.pitch = from.pitch;
    if (from.pitch != 1.0f) Note(kNoPitch);
  }
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    ApplyChannel(index);
    return;
  }
  if ((which & kSlidePan) != 0 && to.pan != 0) Note(kNoMusicPan);
  if (IsCurrentMusic(handle)) ApplyMusicVolume();
}

void Sound::ApplyChannel(int index) {
  const ChannelAttributes& attributes = channels_[index]->attributes;
  Mix.Volume(index, attributes.volume * effectVolume_ * MIX_MAX_VOLUME / (100 * 100));
  // Panning is an effect of the play: an idle channel would carry it into the next one.
  if (Mix.Playing(index) == 0) return;
  // Pan is a balance: the far side fades, the near side stays whole.
  const int left = attributes.pan <= 0 ? kPanFull : kPanFull * (100 - attributes.pan) / 100;
  const int right = attributes.pan >= 0 ? kPanFull : kPanFull * (100 + attributes.pan) / 100;
  Mix.SetPanning(index, static_cast<Uint8>(left), static_cast<Uint8>(right));
}

void Sound::SetAttributes(ChannelHandle handle, int volume, int pan, float pitch) {
  ChannelAttributes* attributes = nullptr;
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    attributes = &channels_[index]->attributes;
  } else if (Music* music = FindMusic(handle)) {
    attributes = &music->attributes;
  } else {
    return;
  }
  unsigned which = 0;
  if (volume != kKeepVolume) which |= kSlideVolume;
  if (pan != kKeepPan) which |= kSlidePan;
  if (pitch != kKeepPitch) which |= kSlidePitch;
  slides_.Stop(handle, which);
  ApplyAttributes(handle, *attributes, ChannelAttributes{volume, pan, pitch}, which);
}

void Sound::Pause(ChannelHandle handle) {
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    Mix.Pause(index);
    channels_[index]->paused = true;
  } else if (Music* music = FindMusic(handle); music != nullptr && IsCurrentMusic(handle)) {
    Mix.PauseMusic();
    music->paused = true;
  }
}

void Sound::Resume(ChannelHandle handle) {
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    channels_[index]->paused = false;
    if (!pausedAll_) Mix.Resume(index);
  } else if (Music* music = FindMusic(handle); music != nullptr && IsCurrentMusic(handle)) {
    music->paused = false;
    if (!pausedAll_) Mix.ResumeMusic();
  }
}

void Sound::Stop(ChannelHandle handle) {
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    Mix.HaltChannel(index);
  } else if (FindMusic(handle) != nullptr && IsCurrentMusic(handle)) {
    Mix.HaltMusic();
  } else {
    return;
  }
  slides_.Stop(handle);
}

void Sound::PauseAll() {
  if (!open_) return;
  pausedAll_ = true;
  Mix.Pause(-1);
  Mix.PauseMusic();
}

void Sound::ResumeAll() {
  if (!open_ || !pausedAll_) return;
  pausedAll_ = false;
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    if (!channels_[i]->paused) Mix.Resume(static_cast<int>(i));
  }
  const Music* music = FindMusic(current_);
  if (music != nullptr && !music->paused) Mix.ResumeMusic();
}

void Sound::StopAll() {
  if (!open_) return;
  Mix.HaltChannel(-1);
  Mix.HaltMusic();
  slides_.Clear();
  pausedAll_ = false;
}

bool Sound::IsPlaying(ChannelHandle handle) {
  const int index = ChannelIndex(handle);
  if (index >= 0) return Mix.Playing(index) != 0 && Mix.Paused(index) == 0;
  return FindMusic(handle) != nullptr && IsCurrentMusic(handle) && Mix.PlayingMusic() != 0 &&
         Mix.PausedMusic() == 0;
}

float Sound::Length(ChannelHandle handle) {
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    const Mix_Chunk* chunk = ChunkOf(*channels_[index]);
    return static_cast<float>(static_cast<double>(chunk->alen) / bytesPerSecond_);
  }
  const Music* music = FindMusic(handle);
  return music != nullptr ? static_cast<float>(Mix.MusicDuration(music->music)) : -1.0f;
}

float Sound::Position(ChannelHandle handle) {
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    const Channel& channel = *channels_[index];
    const std::uint64_t length = ChunkOf(channel)->alen;
    std::uint64_t mixed = channel.mixedBytes.load(std::memory_order_relaxed);
    if (length > 0 && mixed >= length) mixed = channel.loop ? mixed % length : length;
    return static_cast<float>(static_cast<double>(mixed) / bytesPerSecond_);
  }
  const Music* music = FindMusic(handle);
  if (music == nullptr) return -1.0f;
  // The mixer forgets where a music was once another takes the player.
  if (!IsCurrentMusic(handle)) return 0.0f;
  return static_cast<float>(Mix.GetMusicPosition(music->music));
}

void Sound::SetPosition(ChannelHandle handle, float seconds) {
  if (ChannelIndex(handle) >= 0) {
    Note(kNoSampleSeek);
    return;
  }
  if (FindMusic(handle) == nullptr || !IsCurrentMusic(handle) || seconds < 0.0f) return;
  if (Mix.SetMusicPosition(seconds) != 0) {
    engine_.System_Log("SDL2_mixer: can't move to %.3f s: %s", static_cast<double>(seconds),
                       SDL_GetError());
  }
}

void Sound::SlideTo(ChannelHandle handle, float seconds, int volume, int pan, float pitch) {
  ChannelAttributes now;
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    now = channels_[index]->attributes;
  } else if (const Music* music = FindMusic(handle)) {
    now = music->attributes;
  } else {
    return;
  }
  if (seconds <= 0.0f) {
    SetAttributes(handle, volume, pan, pitch);
    return;
  }
  if (volume != kKeepVolume) volume = std::clamp(volume, 0, 100);
  if (pan != kKeepPan) pan = std::clamp(pan, -100, 100);
  slides_.Start(handle, now, volume, pan, pitch, seconds);
}

bool Sound::IsSliding(ChannelHandle handle) const {
  return slides_.IsSliding(handle);
}

void Sound::AdvanceSlides(float seconds) {
  slides_.Advance(seconds, [this](std::uint32_t handle, const ChannelAttributes& reached,
                                  unsigned moving) { return ApplySlide(handle, reached, moving); });
}

// One step of a slide; false when its channel has stopped or gone.
bool Sound::ApplySlide(std::uint32_t handle, const ChannelAttributes& reached, unsigned moving) {
  const int index = ChannelIndex(handle);
  if (index >= 0) {
    if (Mix.Playing(index) == 0) return false;
    ApplyAttributes(handle, channels_[index]->attributes, reached, moving);
    return true;
  }
  Music* music = FindMusic(handle);
  if (music == nullptr) return false;
  ApplyAttributes(handle, music->attributes, reached, moving);
  return true;
}

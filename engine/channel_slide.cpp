#include "engine/channel_slide.h"

#include <cmath>

void ChannelSlides::Start(std::uint32_t channel, const ChannelAttributes& now, int volume, int pan,
                          float pitch, float seconds) {
  Slide slide{channel, 0, now, now, 0.0f, seconds > 0.0f ? seconds : 0.0f};
  if (volume != kKeepVolume) {
    slide.moving |= kSlideVolume;
    slide.to.volume = volume;
  }
  if (pan != kKeepPan) {
    slide.moving |= kSlidePan;
    slide.to.pan = pan;
  }
  if (pitch != kKeepPitch) {
    slide.moving |= kSlidePitch;
    slide.to.pitch = pitch;
  }
  Slide* existing = Find(channel);
  if (slide.moving == 0) {
    if (existing != nullptr) Stop(channel);
    return;
  }
  if (existing != nullptr) {
    *existing = slide;
  } else {
    slides_.push_back(slide);
  }
}

bool ChannelSlides::IsSliding(std::uint32_t channel) const {
  for (const Slide& slide : slides_) {
    if (slide.channel == channel) return true;
  }
  return false;
}

void ChannelSlides::Stop(std::uint32_t channel, unsigned attributes) {
  for (auto it = slides_.begin(); it != slides_.end(); ++it) {
    if (it->channel != channel) continue;
    it->moving &= ~attributes;
    if (it->moving == 0) slides_.erase(it);
    return;
  }
}

ChannelSlides::Slide* ChannelSlides::Find(std::uint32_t channel) {
  for (Slide& slide : slides_) {
    if (slide.channel == channel) return &slide;
  }
  return nullptr;
}

ChannelAttributes ChannelSlides::Reached(const Slide& slide) {
  if (slide.elapsed >= slide.duration) return slide.to;
  const float part = slide.elapsed / slide.duration;
  ChannelAttributes now;
  now.volume = static_cast<int>(
      std::lround(slide.from.volume + (slide.to.volume - slide.from.volume) * part));
  now.pan = static_cast<int>(std::lround(slide.from.pan + (slide.to.pan - slide.from.pan) * part));
  now.pitch = slide.from.pitch + (slide.to.pitch - slide.from.pitch) * part;
  return now;
}

#pragma once
// Channel slides: a playing channel's volume, pan and pitch moving in a straight line to new
// values over a given time. The engine moves them once per frame by the frame's time, so a slide
// advances only while frames run.

#include <cstdint>
#include <vector>

// A channel's attributes as the engine's operations give them: volume 0 to 100, pan -100 (left)
// to 100 (right), pitch as a factor of the channel's own frequency.
struct ChannelAttributes {
  int volume = 100;
  int pan = 0;
  float pitch = 1.0f;
};

// The attributes a slide moves, as bits.
enum SlideAttribute : unsigned {
  kSlideVolume = 1,
  kSlidePan = 2,
  kSlidePitch = 4,
  kSlideAll = kSlideVolume | kSlidePan | kSlidePitch,
};

// Targets that leave an attribute where it is.
constexpr int kKeepVolume = -1;
constexpr int kKeepPan = -101;
constexpr float kKeepPitch = -1.0f;

class ChannelSlides {
 public:
  // Starts moving the channel from its attributes now to the targets over seconds, replacing any
  // slide it had. A target of kKeepVolume, kKeepPan or kKeepPitch stays where it is; when every
  // target stays, the channel does not slide.
  void Start(std::uint32_t channel, const ChannelAttributes& now, int volume, int pan, float pitch,
             float seconds);
  bool IsSliding(std::uint32_t channel) const;
  // Stops moving these attributes (SlideAttribute bits) where they are; the slide ends with the
  // last of them.
  void Stop(std::uint32_t channel, unsigned attributes = kSlideAll);
  void Clear() { slides_.clear(); }

  // Moves every slide on by seconds and hands each channel's attributes to
  // apply(channel, attributes, moving bits), which answers false for a channel that is gone and
  // so ends its slide. A slide that reaches its end hands over exactly its targets, then ends.
  template <typename Apply>
  void Advance(float seconds, Apply&& apply);

 private:
  struct Slide {
    std::uint32_t channel;
    unsigned moving;  // SlideAttribute bits
    ChannelAttributes from, to;
    float elapsed, duration;
  };

  Slide* Find(std::uint32_t channel);
  // The attributes a slide has reached.
  static ChannelAttributes Reached(const Slide& slide);

  std::vector<Slide> slides_;
};

template <typename Apply>
void ChannelSlides::Advance(float seconds, Apply&& apply) {
  for (std::size_t i = 0; i < slides_.size();) {
    Slide& slide = slides_[i];
    slide.elapsed += seconds;
    const bool kept = apply(slide.channel, Reached(slide), slide.moving);
    if (kept && slide.elapsed < slide.duration) {
      ++i;
    } else {
      slides_.erase(slides_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

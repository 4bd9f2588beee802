// Channel slides on their own: straight lines from where a channel is to its targets, moved by
// the frames' time.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/channel_slide.h"

namespace {

struct Step {
  std::uint32_t channel;
  ChannelAttributes reached;
  unsigned moving;
};

// Advances the slides and records what they hand over; channels listed as gone answer false.
std::vector<Step> Advance(ChannelSlides& slides, float seconds,
                          std::vector<std::uint32_t> gone = {}) {
  std::vector<Step> steps;
  slides.Advance(seconds,
                 [&](std::uint32_t channel, const ChannelAttributes& reached, unsigned moving) {
                   steps.push_back({channel, reached, moving});
                   return std::find(gone.begin(), gone.end(), channel) == gone.end();
                 });
  return steps;
}

TEST(ChannelSlide, MovesInAStraightLineAndEndsExactlyOnTheTargets) {
  ChannelSlides slides;
  slides.Start(7, ChannelAttributes{100, -100, 1.0f}, 0, 100, 2.0f, 1.0f);
  EXPECT_TRUE(slides.IsSliding(7));

  std::vector<Step> steps = Advance(slides, 0.25f);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].channel, 7u);
  EXPECT_EQ(steps[0].moving, kSlideVolume | kSlidePan | kSlidePitch);
  EXPECT_EQ(steps[0].reached.volume, 75);
  EXPECT_EQ(steps[0].reached.pan, -50);
  EXPECT_FLOAT_EQ(steps[0].reached.pitch, 1.25f);

  steps = Advance(slides, 0.5f);
  EXPECT_EQ(steps[0].reached.volume, 25);
  EXPECT_TRUE(slides.IsSliding(7));

  // A frame that runs past the end hands over the targets themselves.
  steps = Advance(slides, 0.5f);
  EXPECT_EQ(steps[0].reached.volume, 0);
  EXPECT_EQ(steps[0].reached.pan, 100);
  EXPECT_FLOAT_EQ(steps[0].reached.pitch, 2.0f);
  EXPECT_FALSE(slides.IsSliding(7));
  EXPECT_TRUE(Advance(slides, 0.1f).empty());
}

TEST(ChannelSlide, KeepValuesStayWhereTheyAre) {
  ChannelSlides slides;
  slides.Start(1, ChannelAttributes{40, 30, 0.5f}, -1, -101, -1.0f, 1.0f);
  EXPECT_FALSE(slides.IsSliding(1));

  slides.Start(1, ChannelAttributes{40, 30, 0.5f}, 80, -101, -1.0f, 1.0f);
  const std::vector<Step> steps = Advance(slides, 0.5f);
  EXPECT_EQ(steps[0].moving, kSlideVolume);
  EXPECT_EQ(steps[0].reached.volume, 60);
  EXPECT_EQ(steps[0].reached.pan, 30);
  EXPECT_FLOAT_EQ(steps[0].reached.pitch, 0.5f);
}

TEST(ChannelSlide, ANewSlideReplacesTheOldOne) {
  ChannelSlides slides;
  slides.Start(3, ChannelAttributes{100, 0, 1.0f}, 0, -101, -1.0f, 10.0f);
  slides.Start(3, ChannelAttributes{50, 0, 1.0f}, -1, 100, -1.0f, 1.0f);
  const std::vector<Step> steps = Advance(slides, 1.0f);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].moving, kSlidePan);
  EXPECT_EQ(steps[0].reached.pan, 100);
  EXPECT_FALSE(slides.IsSliding(3));
}

TEST(ChannelSlide, StoppingTheLastAttributeOrLosingTheChannelEndsTheSlide) {
  ChannelSlides slides;
  slides.Start(1, ChannelAttributes{}, 0, 50, -1.0f, 1.0f);
  slides.Start(2, ChannelAttributes{}, 0, -101, -1.0f, 1.0f);
  slides.Stop(1, kSlideVolume);
  EXPECT_TRUE(slides.IsSliding(1));
  std::vector<Step> steps = Advance(slides, 0.1f, {2});
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].moving, kSlidePan);
  EXPECT_FALSE(slides.IsSliding(2));

  slides.Stop(1, kSlidePan);
  EXPECT_FALSE(slides.IsSliding(1));
  EXPECT_TRUE(Advance(slides, 0.1f).empty());
}

}  // namespace

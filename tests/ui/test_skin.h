#pragma once
// A skin for the toolkit's tests: a region table linked without any texture, and a recorder that
// takes the place of the drawing calls while a test runs.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/skin_sheet.h"
#include "ui/skin_link.h"

// Region numbers of the test table, named after their sizes.
constexpr int kSquare25A = 0;
constexpr int kSquare25B = 1;
constexpr int kSquare25C = 2;
constexpr int kSquare25D = 3;
constexpr int kTyre53 = 4;
constexpr int kWide40x20 = 5;
constexpr int kTall18x21 = 6;
constexpr int kOdd7x9 = 7;
constexpr int kTestRegionCount = 8;

struct DrawCall {
  enum class Kind { kRegion, kThickLine, kArcFan } kind;
  int a[7];  // Region: region x y w h alpha; ThickLine: x1 y1 x2 y2 halfWidth colour;
             // ArcFan: cx cy radius alpha reverse
  float angleA = 0, angleB = 0;
  bool operator==(const DrawCall& o) const;
};

std::vector<DrawCall>& RecordedDraws();
DrawCall RegionCall(int region, int x, int y, int w, int h, int alpha);
DrawCall LineCall(int x1, int y1, int x2, int y2, int halfWidth, std::uint32_t colour);
DrawCall FanCall(int cx, int cy, int radius, float a, float b, int alpha, int reverse);
void PrintTo(const DrawCall& call, std::ostream* os);

// Links the test table and records draws for the lifetime of a test. It links in its
// constructor so that fixtures can hold controls as members.
class SkinTest : public ::testing::Test {
 protected:
  SkinTest();
  ~SkinTest() override;

  UiSkinCalls savedCalls{};
};

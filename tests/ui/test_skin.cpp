#include "test_skin.h"

#include <cstring>
#include <ostream>

namespace {
const SkinRegion kRegions[kTestRegionCount] = {
    {0, 0, 25, 25},  {25, 0, 25, 25},  {50, 0, 25, 25},  {75, 0, 25, 25},
    {0, 25, 53, 53}, {53, 25, 40, 20}, {93, 25, 18, 21}, {111, 25, 7, 9},
};

std::vector<DrawCall> recorded;

void RecordRegion(int region, int x, int y, int w, int h, int alpha) {
  recorded.push_back(RegionCall(region, x, y, w, h, alpha));
}
void RecordLine(int x1, int y1, int x2, int y2, int halfWidth, std::uint32_t colour) {
  recorded.push_back(LineCall(x1, y1, x2, y2, halfWidth, colour));
}
void RecordFan(int cx, int cy, int radius, float a, float b, int alpha, int reverse) {
  recorded.push_back(FanCall(cx, cy, radius, a, b, alpha, reverse));
}
}  // namespace

bool DrawCall::operator==(const DrawCall& o) const {
  return kind == o.kind && std::memcmp(a, o.a, sizeof a) == 0 && angleA == o.angleA &&
         angleB == o.angleB;
}

std::vector<DrawCall>& RecordedDraws() {
  return recorded;
}

DrawCall RegionCall(int region, int x, int y, int w, int h, int alpha) {
  return DrawCall{DrawCall::Kind::kRegion, {region, x, y, w, h, alpha, 0}};
}

DrawCall LineCall(int x1, int y1, int x2, int y2, int halfWidth, std::uint32_t colour) {
  return DrawCall{DrawCall::Kind::kThickLine,
                  {x1, y1, x2, y2, halfWidth, static_cast<int>(colour), 0}};
}

DrawCall FanCall(int cx, int cy, int radius, float a, float b, int alpha, int reverse) {
  return DrawCall{DrawCall::Kind::kArcFan, {cx, cy, radius, alpha, reverse, 0, 0}, a, b};
}

void PrintTo(const DrawCall& call, std::ostream* os) {
  static const char* const kNames[] = {"Region", "ThickLine", "ArcFan"};
  *os << kNames[static_cast<int>(call.kind)] << "(";
  for (int v : call.a) *os << v << ",";
  *os << call.angleA << "," << call.angleB << ")";
}

SkinTest::SkinTest() {
  UiLinkSkin(kRegions, kTestRegionCount);
  savedCalls = UiSkin;
  UiSkin = UiSkinCalls{RecordRegion, RecordLine, RecordFan};
  recorded.clear();
}

SkinTest::~SkinTest() {
  UiSkin = savedCalls;
  UiLinkSkin(nullptr, 0);
}

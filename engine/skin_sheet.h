#pragma once
// The skin sheet: one atlas texture cut into numbered regions (one Sprite each) and a few
// nine-slice frames. The free drawing functions below draw from the sheet that is bound; there is
// one sheet in the program, bound at creation and again by the render function every frame.

#include <cstdint>

class Engine;
class Sprite;
struct GfxTexture;

struct SkinRegion {
  std::int32_t x, y;  // top-left pixel in the atlas
  std::int32_t w, h;  // size in pixels
};

class SkinSheet {
 public:
  SkinSheet() = default;
  // Releases whatever the sheet still owns.
  ~SkinSheet();
  SkinSheet(const SkinSheet&) = delete;
  SkinSheet& operator=(const SkinSheet&) = delete;

  // Loads the atlas from PNG bytes, makes one sprite per region and binds the sheet. The region
  // table is kept by pointer, not copied.
  void Create(const SkinRegion* regions, int regionCount, int frameCount,
              const unsigned char* pngBytes, std::uint32_t pngSize);
  // Cuts frame slot `frame` into nine cell-by-cell pieces from the region's top-left corner.
  void DefineFrame(int frame, int region, int cellSize);
  // Makes this sheet the one the drawing functions use.
  void Bind();
  // Frees everything the sheet owns and unbinds it if bound; may be called more than once.
  void Release();

  const SkinRegion* regions = nullptr;
  GfxTexture* texture = nullptr;
  Sprite** sprites = nullptr;
  Sprite** frames = nullptr;
  std::int32_t* cellSizes = nullptr;
  std::int32_t regionCount = 0;
  std::int32_t frameCount = 0;

 private:
  Engine* engine_ = nullptr;  // the reference taken by Create, given back by Release
};

// Drawing through the bound sheet (nothing is drawn when none is bound or a region or frame
// number is out of range). Alpha is 0 to 255 (only its low 8 bits count); colours ARGB.
// The region unscaled with its top-left at x, y.
void DrawRegion(int region, int x, int y, int alpha);
// The region stretched over x, y to x + w, y + h.
void DrawRegionStretched(int region, int x, int y, int w, int h, int alpha);
// A nine-slice box: corners unscaled, edges and middle stretched to fill w by h.
void DrawFrame(int frame, int x, int y, int w, int h, int alpha);
// An untextured rectangle; a negative w or h extends left or up from x, y.
void FillRect(int x, int y, int w, int h, std::uint32_t colour);
// Four one-pixel lines around x, y to x + w, y + h.
void DrawRectOutline(int x, int y, int w, int h, std::uint32_t colour);
void DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour);
// A quad 2 * halfWidth wide centred on the segment.
void DrawThickLine(int x1, int y1, int x2, int y2, int halfWidth, std::uint32_t colour);
// 32 triangles from the centre to the rim between two clock angles (degrees, 0 up, 90 right),
// red with a green channel running 0 to 255 (255 to 0 when reversed).
void DrawArcFan(int cx, int cy, int radius, float angleA, float angleB, int alpha, int reverse);

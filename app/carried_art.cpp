#include "app/carried_art.h"

#include <new>
#include <span>
#include <string>
#include <string_view>

#include "app/skin_regions.h"
#include "app_assets.h"
#include "engine/image_decode_ahead.h"
#include "engine/scaled_images.h"
#include "engine/window_icon.h"

BitmapFont* SmallFont = nullptr;
BitmapFont* LargeFont = nullptr;
SkinSheet* Skin = nullptr;

namespace {
BitmapFont* MakeFont(std::string_view description, std::string_view image) {
  const std::span<const unsigned char> text = app_assets::Get(description);
  const std::span<const unsigned char> png = app_assets::Get(image);
  return new (std::nothrow) BitmapFont(reinterpret_cast<const char*>(text.data()),
                                       static_cast<std::uint32_t>(text.size()), png.data(),
                                       static_cast<std::uint32_t>(png.size()), false);
}

// Screens of scale 2 get the art drawn at twice the pixels in place of the carried 1x images.
void RegisterDoubledArt() {
  for (const char* name : {"fonts/myriad_16s", "fonts/myriad_20s", "skin/skin"}) {
    const std::string base = name;
    RegisterDoubledImage(app_assets::Get(base + ".png"), app_assets::Get(base + "@2x.png"));
  }
}
}  // namespace

void DecodeCarriedArtAhead() {
  // In the order CreateCarriedArt loads them.
  DecodeImagesAhead({app_assets::Get("fonts/myriad_16s.png"),
                     app_assets::Get("fonts/myriad_20s.png"), app_assets::Get("skin/skin.png")});
}

void ForgetCarriedArtAhead() {
  ForgetDecodedImages();
}

bool CreateCarriedArt() {
  RegisterDoubledArt();
  SmallFont = MakeFont("fonts/myriad_16s.txt", "fonts/myriad_16s.png");
  LargeFont = MakeFont("fonts/myriad_20s.txt", "fonts/myriad_20s.png");
  Skin = new (std::nothrow) SkinSheet;
  if (Skin != nullptr) {
    const std::span<const unsigned char> png = app_assets::Get("skin/skin.png");
    Skin->Create(kSkinRegions, kSkinRegionCount, kSkinFrameCount, png.data(),
                 static_cast<std::uint32_t>(png.size()));
    for (const SkinFrameDefinition& frame : kSkinFrames)
      Skin->DefineFrame(frame.frame, frame.region, frame.cellSize);
  }
  return SmallFont != nullptr && LargeFont != nullptr && Skin != nullptr;
}

void ReleaseCarriedArt() {
  if (Skin != nullptr) Skin->Release();
  delete Skin;
  Skin = nullptr;
  delete SmallFont;
  SmallFont = nullptr;
  delete LargeFont;
  LargeFont = nullptr;
}

void RegisterCarriedResources() {
  RegisterProgramResource(kIconResource, app_assets::Get("icon/icon.png"));
}

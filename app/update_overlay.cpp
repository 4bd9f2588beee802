#include "app/update_overlay.h"

#include "app/carried_art.h"
#include "app/skin_regions.h"
#include "device/progress.h"
#include "engine/bitmap_font.h"

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kPictureAreaHeight = 580;
constexpr int kOpaque = 255;
constexpr std::uint32_t kEmptyBarColour = 0xC8FF0000u;  // translucent red
constexpr std::uint32_t kFilledBarColour = 0xFF00FF00u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr int kPixelsPerPercent = 4;
constexpr int kBarWidth = 100 * kPixelsPerPercent;

constexpr const char* kUpdateFailedText =
    "An error occurred when updating your controller\nplease contact customer services to inform "
    "them of the problem\n \n";

}  // namespace

UpdateOverlayLayout LayOutUpdateOverlay(const SkinRegion& picture) {
  const int x0 = (kWindowWidth - picture.w) / 2;
  const int y0 = (kPictureAreaHeight - picture.h) / 2 - 50;
  const int barY = y0 + picture.h + 20;
  UpdateOverlayLayout layout{};
  layout.frameX = x0 - 30;
  layout.frameY = y0 - 30;
  layout.frameW = picture.w + 60;
  layout.frameH = picture.h + 112;
  layout.pictureX = x0;
  layout.pictureY = y0;
  layout.barFrameX = 302;
  layout.barFrameY = barY - 10;
  layout.barFrameW = 420;
  layout.barFrameH = 40;
  layout.barX = 312;
  layout.barY = barY;
  layout.barW = kBarWidth;
  layout.barH = 20;
  layout.messageX = kWindowWidth / 2;
  layout.messageY = barY;
  return layout;
}

int UpdateBarFill(int percent) {
  // The worker never publishes more than 100; a stray value must not draw past the bar.
  if (percent <= 0) return 0;
  if (percent >= 100) return kBarWidth;
  return percent * kPixelsPerPercent;
}

void DrawUpdateOverlay(const SkinSheet& sheet) {
  if (sheet.regions == nullptr || sheet.regionCount <= kRegionUpdatePicture) return;
  const UpdateOverlayLayout layout = LayOutUpdateOverlay(sheet.regions[kRegionUpdatePicture]);
  DrawFrame(kFrameLarge, layout.frameX, layout.frameY, layout.frameW, layout.frameH, kOpaque);
  DrawRegion(kRegionUpdatePicture, layout.pictureX, layout.pictureY, kOpaque);
  DrawFrame(kFrameSmall, layout.barFrameX, layout.barFrameY, layout.barFrameW, layout.barFrameH,
            kOpaque);
  FillRect(layout.barX, layout.barY, layout.barW, layout.barH, kEmptyBarColour);
  const int filled = UpdateBarFill(ProgressPercent);
  if (filled > 0) FillRect(layout.barX, layout.barY, filled, layout.barH, kFilledBarColour);
  const char* message = ProgressMessage;
  if (message == nullptr || message[0] == '\0' || SmallFont == nullptr) return;
  SmallFont->SetColor(kWhite);
  // Our own constant texts, none with a conversion; still printed as plain text.
  SmallFont->PrintText(static_cast<float>(layout.messageX), static_cast<float>(layout.messageY),
                       TEXT_CENTER, message);
}

void DrawUpdateErrorPanel() {
  DrawFrame(kFrameLarge, 282, 120, 460, 292, kOpaque);
  if (LargeFont == nullptr) return;
  LargeFont->SetColor(kWhite);
  LargeFont->Print(512, 190, TEXT_CENTER, kUpdateFailedText);
}

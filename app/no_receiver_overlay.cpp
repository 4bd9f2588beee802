#include "app/no_receiver_overlay.h"

#include "app/skin_regions.h"

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 600;
constexpr int kOpaque = 255;

}  // namespace

NoReceiverLayout LayOutNoReceiverOverlay(const SkinRegion& notice, const SkinRegion& footer) {
  int centreX = (kWindowWidth - notice.w) / 2;
  int e = (kWindowHeight - notice.h) / 2;
  NoReceiverLayout layout{};
  layout.frameX = centreX - 30;
  layout.frameY = e - 90;
  layout.frameW = notice.w + 60;
  layout.frameH = notice.h + 92;
  layout.noticeX = centreX;
  layout.noticeY = e - 60;
  layout.footerX = (kWindowWidth - footer.w) / 2;
  layout.footerY = e + 149;
  return layout;
}

void DrawNoReceiverOverlay(const SkinSheet& sheet) {
  if (sheet.regions == nullptr || sheet.regionCount <= kRegionNoReceiverFooter) return;
  NoReceiverLayout layout = LayOutNoReceiverOverlay(sheet.regions[kRegionNoReceiverNotice],
                                                    sheet.regions[kRegionNoReceiverFooter]);
  DrawFrame(kFrameLarge, layout.frameX, layout.frameY, layout.frameW, layout.frameH, kOpaque);
  DrawRegion(kRegionNoReceiverNotice, layout.noticeX, layout.noticeY, kOpaque);
  DrawRegion(kRegionNoReceiverFooter, layout.footerX, layout.footerY, kOpaque);
}

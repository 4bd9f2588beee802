// The place of the no-receiver notice.
#include <gtest/gtest.h>

#include "app/no_receiver_overlay.h"

namespace {

TEST(NoReceiverOverlay, CentredAroundTheNotice) {
  SkinRegion notice{0, 0, 401, 211};
  SkinRegion footer{0, 0, 300, 40};
  NoReceiverLayout layout = LayOutNoReceiverOverlay(notice, footer);
  // e = (600 - 211) / 2 = 194; (1024 - 401) / 2 = 311, both rounded down.
  EXPECT_EQ(layout.frameX, 281);
  EXPECT_EQ(layout.frameY, 104);
  EXPECT_EQ(layout.frameW, 461);
  EXPECT_EQ(layout.frameH, 303);
  EXPECT_EQ(layout.noticeX, 311);
  EXPECT_EQ(layout.noticeY, 134);
  EXPECT_EQ(layout.footerX, 362);
  EXPECT_EQ(layout.footerY, 343);
}

}  // namespace

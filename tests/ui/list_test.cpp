#include "ui/list.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/panel.h"

namespace {
std::vector<DrawInfo> drawn;
void RecordPart(DrawInfo* info) {
  drawn.push_back(*info);
}

// The preset list: five rows of 30 pixels at (222, 160), 580 wide, scrollbar from x 778 to 802.
class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drawn.clear();
    panel.AddChild(list);
    list->SetDrawCallback(RecordPart);
  }
  void Fill(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(list->AddItem(&data[i]), i);
  }
  // Sends one event through the panel at (x, list y + ry).
  bool Send(int event, int x, int ry) { return panel.Dispatch(event, x, kListY + ry); }

  static constexpr int kListY = 160;
  static constexpr int kRowX = 300;    // inside the rows area
  static constexpr int kTrackX = 790;  // on the scrollbar
  UIPanel panel{0, 0};
  UIList* list = new UIList(100, 222, kListY, 580, 30, 5, 100, &panel);
  int data[101] = {};
};

TEST_F(ListTest, Construction) {
  EXPECT_EQ(list->kind, KIND_LIST);
  EXPECT_EQ(list->listH, 150);
  EXPECT_EQ(list->h, 150);
  EXPECT_EQ(list->scrollX, 778);
  EXPECT_EQ(list->maxThumb, 118);
  EXPECT_EQ(list->thumbH, 32);
  EXPECT_EQ(list->Selected(), -1);
  EXPECT_EQ(list->previousEvent, -1);
}

TEST_F(ListTest, ThreeItemsInFiveRows) {
  Fill(3);
  EXPECT_EQ(list->maxScroll, 0);
  EXPECT_EQ(list->thumbH, 118);  // trunc(50 x 5) = 250, held to the largest thumb
  EXPECT_FALSE(Send(EVENT_HOVER | EVENT_WHEEL_DOWN, kRowX, 10));
  EXPECT_EQ(list->firstRow, 0);
  EXPECT_EQ(list->thumbOffset, 0);

  EXPECT_FALSE(Send(EVENT_HELD, kRowX, 35));
  EXPECT_EQ(list->Selected(), 1);
  Send(EVENT_RELEASED, kRowX, 35);
  // A press in row 4 (empty) clears the selection.
  Send(EVENT_HELD, kRowX, 100);
  EXPECT_EQ(list->hot, -1);
  EXPECT_EQ(list->Selected(), -1);

  list->Draw();
  ASSERT_EQ(drawn.size(), 5u);  // background, three rows, track; no thumb
  EXPECT_EQ(drawn[0].kind, LIST_BACKGROUND);
  EXPECT_EQ(drawn[0].x, 222);
  EXPECT_EQ(drawn[0].w, 580);
  EXPECT_EQ(drawn[0].h, 150);
  EXPECT_EQ(drawn[0].index, -1);
  EXPECT_EQ(drawn[3].kind, LIST_ROW);
  EXPECT_EQ(drawn[3].y, kListY + 60);
  EXPECT_EQ(drawn[3].w, 580);
  EXPECT_EQ(drawn[3].index, 2);
  EXPECT_EQ(drawn[3].data, &data[2]);
  EXPECT_EQ(drawn[4].kind, LIST_TRACK);
  EXPECT_EQ(drawn[4].x, 778);
  EXPECT_EQ(drawn[4].w, 24);
}

TEST_F(ListTest, TenItemsDragTheThumb) {
  Fill(10);
  EXPECT_EQ(list->thumbH, 75);
  EXPECT_EQ(list->travel, 75);
  EXPECT_EQ(list->maxScroll, 5);

  EXPECT_TRUE(Send(EVENT_HELD, kTrackX, 10));
  EXPECT_TRUE(list->dragging);
  EXPECT_EQ(panel.capture, list);
  // Down by 30 pixels, even with the mouse off the list: the capture keeps it.
  EXPECT_TRUE(Send(EVENT_HELD, 100, 40));
  EXPECT_EQ(list->thumbOffset, 30);
  EXPECT_EQ(list->firstRow, 2);
  EXPECT_TRUE(Send(EVENT_HELD | EVENT_WHEEL_UP, kRowX, 40));  // the wheel is ignored mid-drag
  EXPECT_EQ(list->firstRow, 2);
  EXPECT_TRUE(Send(EVENT_RELEASED, kTrackX, 40));
  EXPECT_FALSE(list->dragging);
  EXPECT_EQ(panel.capture, nullptr);
  EXPECT_FALSE(Send(EVENT_HOVER, kTrackX, 40));

  list->Draw();
  ASSERT_EQ(drawn.size(), 8u);
  EXPECT_EQ(drawn[1].index, 2);
  EXPECT_EQ(drawn[5].index, 6);
  EXPECT_EQ(drawn[7].kind, LIST_THUMB | LIST_HOT);
  EXPECT_EQ(drawn[7].y, kListY + 30);
  EXPECT_EQ(drawn[7].h, 75);
}

TEST_F(ListTest, DraggingPastTheEndStopsAtTheLastPage) {
  Fill(10);
  Send(EVENT_HELD, kTrackX, 10);
  Send(EVENT_HELD, kTrackX, 400);
  EXPECT_EQ(list->thumbOffset, 75);
  EXPECT_EQ(list->firstRow, 5);
  Send(EVENT_HELD, kTrackX, -300);
  EXPECT_EQ(list->thumbOffset, 0);
  EXPECT_EQ(list->firstRow, 0);
  list->Draw();
  EXPECT_EQ(drawn.back().kind, LIST_THUMB | LIST_PRESSED);
}

TEST_F(ListTest, HundredItemsGetTheSmallestThumb) {
  Fill(100);
  EXPECT_EQ(list->thumbH, 32);
  EXPECT_EQ(list->travel, 118);
  EXPECT_EQ(list->maxScroll, 95);
  EXPECT_EQ(list->AddItem(&data[100]), -1);
  EXPECT_EQ(list->count, 100);
}

TEST_F(ListTest, HoldingOnTheTrackPagesToTheMouse) {
  Fill(100);
  EXPECT_FALSE(Send(EVENT_HELD, kTrackX, 100));
  EXPECT_EQ(list->thumbOffset, 32);
  EXPECT_EQ(list->firstRow, 25);
  EXPECT_FALSE(Send(EVENT_HELD, kTrackX, 100));
  EXPECT_EQ(list->thumbOffset, 64);
  EXPECT_EQ(list->firstRow, 51);
  EXPECT_FALSE(Send(EVENT_HELD, kTrackX, 100));
  EXPECT_EQ(list->thumbOffset, 96);
  EXPECT_EQ(list->firstRow, 77);
  // The thumb is under the mouse now: a drag starts and paging stops.
  EXPECT_TRUE(Send(EVENT_HELD, kTrackX, 100));
  EXPECT_TRUE(list->dragging);
  EXPECT_EQ(list->thumbOffset, 96);
  EXPECT_TRUE(Send(EVENT_RELEASED, kTrackX, 100));

  // Above the thumb pages up; paging past the top stops at 0.
  EXPECT_FALSE(Send(EVENT_HELD, kTrackX, 5));
  EXPECT_EQ(list->thumbOffset, 64);
  Send(EVENT_HELD, kTrackX, 5);
  Send(EVENT_HELD, kTrackX, 5);
  EXPECT_EQ(list->thumbOffset, 0);
  EXPECT_EQ(list->firstRow, 0);
}

TEST_F(ListTest, WheelScrollsOneRowWithinTheRange) {
  Fill(10);
  Send(EVENT_HOVER | EVENT_WHEEL_UP, kRowX, 10);
  EXPECT_EQ(list->firstRow, 0);
  Send(EVENT_HOVER | EVENT_WHEEL_DOWN, kRowX, 10);
  EXPECT_EQ(list->firstRow, 1);
  EXPECT_EQ(list->thumbOffset, 15);
  EXPECT_EQ(list->hot, 1);
  for (int i = 0; i < 8; ++i) Send(EVENT_HOVER | EVENT_WHEEL_DOWN, kRowX, 10);
  EXPECT_EQ(list->firstRow, 5);
  EXPECT_EQ(list->thumbOffset, 75);
  // The wheel over the scrollbar does nothing.
  Send(EVENT_HOVER | EVENT_WHEEL_UP, kTrackX, 10);
  EXPECT_EQ(list->firstRow, 5);
}

TEST_F(ListTest, SelectionChangesOnTheFirstFrameOfAPressOnly) {
  Fill(10);
  EXPECT_FALSE(Send(EVENT_HELD, kRowX, 5));
  EXPECT_EQ(list->Selected(), 0);
  Send(EVENT_HELD, kRowX, 70);
  EXPECT_EQ(list->hot, 2);
  EXPECT_EQ(list->Selected(), 0);
  Send(EVENT_RELEASED, kRowX, 70);
  Send(EVENT_HELD, kRowX, 70);
  EXPECT_EQ(list->Selected(), 2);

  list->Draw();
  EXPECT_EQ(drawn[3].kind, LIST_ROW | LIST_PRESSED | LIST_HOT);
  EXPECT_EQ(drawn[1].kind, LIST_ROW);
}

TEST_F(ListTest, RowsAreaEdges) {
  Fill(10);
  // The bottom edge row belongs to the last row; the scrollbar column is not a row.
  Send(EVENT_HOVER, kRowX, 150);
  EXPECT_EQ(list->hot, 4);
  Send(EVENT_HOVER, 777, 10);
  EXPECT_EQ(list->hot, 0);
  Send(EVENT_HOVER, 778, 10);
  EXPECT_EQ(list->hot, -1);
  Send(EVENT_HOVER, 221, 10);
  EXPECT_EQ(list->hot, -1);
  Send(EVENT_HOVER, kRowX, 151);
  EXPECT_EQ(list->hot, -1);
}

TEST_F(ListTest, MovingKeepsTheScrollPosition) {
  Fill(10);
  Send(EVENT_HOVER | EVENT_WHEEL_DOWN, kRowX, 10);
  list->SetPosition(100, 100);
  EXPECT_EQ(list->scrollX, 656);
  EXPECT_EQ(list->listY, 100);
  EXPECT_EQ(list->firstRow, 1);
  list->Draw();
  EXPECT_EQ(drawn[1].x, 100);
  EXPECT_EQ(drawn[1].y, 100);
  EXPECT_EQ(drawn[1].index, 1);
}

TEST_F(ListTest, DisabledListIgnoresTheMouse) {
  Fill(10);
  list->SetState(false, true);
  EXPECT_FALSE(Send(EVENT_HELD, kTrackX, 10));
  EXPECT_FALSE(list->dragging);
  EXPECT_EQ(list->Selected(), -1);
}

TEST(ListLimits, DegenerateSizesDoNotDivideByZero) {
  UIList list(1, 0, 0, 100, 0, 0, 0, nullptr);
  EXPECT_EQ(list.AddItem(nullptr), -1);
  EXPECT_FALSE(list.HandleMouse(EVENT_HELD, 10, 0));
  EXPECT_EQ(list.hot, -1);
  list.Draw();  // no callback: nothing happens
}
}  // namespace

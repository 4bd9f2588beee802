#include "ui/panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_skin.h"
#include "ui/button.h"
#include "ui/check.h"

namespace {
// A control that writes what happens to it into a shared log.
struct Probe : UIBase {
  Probe(std::string probeName, std::vector<std::string>* eventLog, bool consumes = false)
      : name(std::move(probeName)), log(eventLog), consume(consumes) {}
  ~Probe() override { log->push_back("~" + name); }
  bool HandleMouse(int event, int, int) override {
    log->push_back(name + ":" + std::to_string(event));
    return consume;
  }
  void Draw() override { log->push_back("draw " + name); }

  std::string name;
  std::vector<std::string>* log;
  bool consume;
};

using PanelTest = SkinTest;

TEST_F(PanelTest, LatestChildSeesEventsFirstAndIsDrawnFirst) {
  std::vector<std::string> log;
  {
    UIPanel panel(0, 0);
    panel.AddChild(new Probe("A", &log));
    panel.AddChild(new Probe("B", &log));
    EXPECT_FALSE(panel.Dispatch(EVENT_HOVER, 5, 5));
    panel.DrawAll(255);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"B:2", "A:2", "draw B", "draw A", "~B", "~A"}));
}

TEST_F(PanelTest, ConsumerStopsTheWalk) {
  std::vector<std::string> log;
  UIPanel panel(0, 0);
  panel.AddChild(new Probe("A", &log));
  panel.AddChild(new Probe("B", &log, true));
  panel.AddChild(new Probe("C", &log));
  EXPECT_TRUE(panel.Dispatch(EVENT_HELD, 1, 1));
  EXPECT_EQ(log, (std::vector<std::string>{"C:1", "B:1"}));
}

TEST_F(PanelTest, LaterChildKeepsItsHoverWhenTheWalkStops) {
  UIPanel panel(0, 0);
  auto* behind = new UIButton(1, kSquare25A, kSquare25B, kSquare25C, 30, 0, false);
  auto* front = new UIButton(2, kSquare25A, kSquare25B, kSquare25C, 0, 0, false);
  panel.AddChild(behind);
  panel.AddChild(front);
  EXPECT_FALSE(panel.Dispatch(EVENT_HOVER, 40, 10));
  EXPECT_TRUE(behind->hovering);
  EXPECT_FALSE(behind->hover.hidden);

  // The front button consumes the press, so the button behind does not see the mouse leave.
  EXPECT_TRUE(panel.Dispatch(EVENT_HELD, 10, 10));
  EXPECT_TRUE(front->pressed);
  EXPECT_TRUE(behind->hovering);
  EXPECT_FALSE(behind->hover.hidden);

  // A hover is never consumed, so the next frame reaches it.
  EXPECT_FALSE(panel.Dispatch(EVENT_HOVER, 10, 10));
  EXPECT_FALSE(behind->hovering);
  EXPECT_TRUE(behind->hover.hidden);
}

TEST_F(PanelTest, SubPanelsAreWalkedInPlace) {
  std::vector<std::string> log;
  UIPanel panel(0, 0);
  panel.AddChild(new Probe("A", &log));
  auto* sub = new UIPanel(0, 0);
  sub->AddChild(new Probe("S1", &log));
  sub->AddChild(new Probe("S2", &log));
  panel.AddChild(sub);
  panel.AddChild(new Probe("C", &log));
  panel.Dispatch(EVENT_RELEASED, 0, 0);
  panel.DrawAll(255);
  EXPECT_EQ(log, (std::vector<std::string>{"C:3", "S2:3", "S1:3", "A:3", "draw C", "draw S2",
                                           "draw S1", "draw A"}));
}

TEST_F(PanelTest, CaptureSeesTheEventFirstAndTwiceWhenItDoesNotConsume) {
  std::vector<std::string> log;
  UIPanel panel(0, 0);
  auto* a = new Probe("A", &log);
  panel.AddChild(a);
  panel.AddChild(new Probe("B", &log));
  panel.capture = a;
  EXPECT_FALSE(panel.Dispatch(EVENT_HELD, 0, 0));
  EXPECT_EQ(log, (std::vector<std::string>{"A:1", "B:1", "A:1"}));

  log.clear();
  a->consume = true;
  EXPECT_TRUE(panel.Dispatch(EVENT_HELD, 0, 0));
  EXPECT_EQ(log, (std::vector<std::string>{"A:1"}));
}

TEST_F(PanelTest, CapturePanelIsDispatchedAsAPanel) {
  std::vector<std::string> log;
  UIPanel panel(0, 0);
  auto* sub = new UIPanel(0, 0);
  sub->AddChild(new Probe("S", &log, true));
  panel.AddChild(sub);
  panel.capture = sub;
  EXPECT_TRUE(panel.Dispatch(EVENT_HOVER, 0, 0));
  EXPECT_EQ(log, (std::vector<std::string>{"S:2"}));
}

TEST_F(PanelTest, SetStatePassesThroughAndLeavesThePanelAlone) {
  UIPanel panel(0, 0);
  auto* button = new UIButton(1, kSquare25A, kSquare25B, kSquare25C, 0, 0, false);
  auto* box = new UICheck(2, kSquare25A, kSquare25B, kSquare25C, -1, 30, 0);
  panel.AddChild(button);
  panel.AddChild(box);
  panel.SetState(false, true);
  EXPECT_TRUE(panel.enabled);
  EXPECT_TRUE(panel.visible);
  EXPECT_FALSE(button->enabled);
  EXPECT_FALSE(box->enabled);
  EXPECT_FLOAT_EQ(button->normal.alpha, 0.5f);
  EXPECT_FLOAT_EQ(box->unchecked.alpha, 0.5f);
}

TEST_F(PanelTest, MovingAPanelMovesChildrenOfSubPanels) {
  UIPanel panel(5, 5);
  auto* button = new UIButton(1, kSquare25A, kSquare25B, kSquare25C, 100, 50, false);
  auto* sub = new UIPanel(0, 0);
  auto* inner = new UIButton(2, kSquare25A, kSquare25B, kSquare25C, 200, 60, false);
  sub->AddChild(inner);
  panel.AddChild(button);
  panel.AddChild(sub);
  panel.SetPosition(15, 5);
  EXPECT_EQ(panel.x, 15);
  EXPECT_EQ(button->x, 110);
  EXPECT_EQ(button->y, 50);
  EXPECT_EQ(button->normal.left, 110);
  EXPECT_EQ(sub->x, 10);
  EXPECT_EQ(inner->x, 210);
  EXPECT_EQ(inner->hover.left, 210);
  EXPECT_EQ(inner->y, 60);
}

TEST_F(PanelTest, DrawAllSetsTheGlobalAlpha) {
  UIPanel panel(0, 0);
  panel.AddChild(new UIButton(1, kSquare25A, kSquare25B, kSquare25C, 3, 4, false));
  panel.DrawAll(51);
  EXPECT_FLOAT_EQ(UiAlpha, 0.2f);
  ASSERT_EQ(RecordedDraws().size(), 1u);
  EXPECT_EQ(RecordedDraws()[0], RegionCall(kSquare25A, 3, 4, 25, 25, 51));
  // A new control puts the factor back to 1.
  UIBase base;
  EXPECT_FLOAT_EQ(UiAlpha, 1.0f);
}

TEST_F(PanelTest, BaseOperations) {
  UIBase base;
  EXPECT_EQ(base.id, -1);
  EXPECT_FALSE(base.HandleMouse(EVENT_HELD, 0, 0));
  base.SetSize(101, 51);
  base.Scale(0.5f, 1.5f);
  EXPECT_EQ(base.w, 50);
  EXPECT_EQ(base.h, 76);
  base.SetState(false, false);
  EXPECT_FALSE(base.enabled);
  EXPECT_FALSE(base.visible);
}
}  // namespace

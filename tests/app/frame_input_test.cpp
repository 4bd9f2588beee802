// Escape, the per-frame input record, the state dispatch and the no-receiver handler.
#include "tests/app/shell_fixture.h"

namespace {

struct PanelCall {
  int event;
  int x;
  int y;
};

// A control in the window-buttons panel that records the events the panel hands it; it takes a
// press when told to.
class RecordingControl final : public UIBase {
 public:
  bool HandleMouse(int event, int mouseX, int mouseY) override {
    calls.push_back({event, mouseX, mouseY});
    return takesPress && event == EVENT_HELD;
  }

  std::vector<PanelCall> calls;
  bool takesPress = false;
};

int mainScreenCalls = 0;

class FrameInputTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    mainScreenCalls = 0;
    windowButtons.AddChild(control);
    WindowButtonsPanel = &windowButtons;
  }

  UIPanel windowButtons{0, 0};
  RecordingControl* control = new RecordingControl;  // owned by the panel
  const std::vector<PanelCall>& panelCalls = control->calls;
};

TEST_F(FrameInputTest, EscapeEndsTheProgramInTheUsualStates) {
  for (int state : {APP_NO_RECEIVER, APP_MAIN_SCREEN, APP_PRESET_DIALOG, APP_UPDATE_FAILED}) {
    AppState = state;
    KeyDown(VK_ESCAPE);
    EXPECT_TRUE(Frame()) << "state " << state;
  }
  AppState = APP_MAIN_SCREEN;
  KeyDown('A');
  EXPECT_FALSE(Frame());
}

TEST_F(FrameInputTest, EscapeIsIgnoredWhileTheUpgradeRuns) {
  AppState = APP_UPDATE_RUNNING;
  UpgradeRunning = 1;
  KeyDown(VK_ESCAPE);
  EXPECT_FALSE(Frame());

  UpgradeRunning = 0;
  KeyDown(VK_ESCAPE);
  EXPECT_TRUE(Frame()) << "after the transfer Escape works again";
}

TEST_F(FrameInputTest, EscapeEndsTheUpdateFlowWhileNoTransferRuns) {
  for (int state : {APP_UPDATE_REQUESTED, APP_UPDATE_RUNNING, APP_UPDATE_WAIT_RETURN}) {
    AppState = state;
    KeyDown(VK_ESCAPE);
    EXPECT_TRUE(Frame()) << "state " << state;
  }
}

TEST_F(FrameInputTest, PointerOutsideTheWindowReadsAsNothing) {
  engine.input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, 300, 200);
  engine.input.BuildEvent(EVENT_WHEEL, 2, 0, 0, 300, 200);
  engine.input.UpdateMouseInside();  // no window, no capture: outside
  SampleFrameInput(engine);
  EXPECT_EQ(CurrentFrameInput.mouseX, 0);
  EXPECT_EQ(CurrentFrameInput.mouseY, 0);
  EXPECT_EQ(CurrentFrameInput.wheel, 0);
  EXPECT_FALSE(CurrentFrameInput.buttonDown);
}

TEST_F(FrameInputTest, PointerInsideIsTruncatedAndCarriesButtonAndWheel) {
  Press(300.9f, 40.6f);
  engine.input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, 310.7f, 45.2f);
  engine.input.BuildEvent(EVENT_WHEEL, -1, 0, 0, 0, 0);
  engine.input.BuildEvent(EVENT_WHEEL, -2, 0, 0, 0, 0);
  SampleFrameInput(engine);
  EXPECT_EQ(CurrentFrameInput.mouseX, 310);
  EXPECT_EQ(CurrentFrameInput.mouseY, 45);
  EXPECT_TRUE(CurrentFrameInput.buttonDown);
  EXPECT_EQ(CurrentFrameInput.wheel, -3);
}

TEST_F(FrameInputTest, HeldButtonSendsHeldEveryFrameAndOneRelease) {
  Press(900, 120);
  EXPECT_FALSE(Frame());
  EXPECT_FALSE(Frame());
  EXPECT_FALSE(Frame());
  Release(900, 120);
  EXPECT_FALSE(Frame());
  EXPECT_FALSE(Frame());

  ASSERT_EQ(panelCalls.size(), 5u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(panelCalls[i].event, 1) << "held, frame " << i;
  EXPECT_EQ(panelCalls[3].event, 3) << "released";
  EXPECT_EQ(panelCalls[4].event, 2) << "hover";
  EXPECT_EQ(panelCalls[0].x, 900);
  EXPECT_EQ(panelCalls[0].y, 120);
}

TEST_F(FrameInputTest, PressTakenByAWidgetIsCapturedUntilRelease) {
  control->takesPress = true;
  CurrentFrameInput.buttonDown = true;
  EXPECT_EQ(NoReceiverInput(), 1);
  EXPECT_TRUE(CurrentFrameInput.captured);
  CurrentFrameInput.buttonDown = false;
  EXPECT_EQ(NoReceiverInput(), 0);
  EXPECT_FALSE(CurrentFrameInput.captured);
}

TEST_F(FrameInputTest, QuitButtonEndsTheProgram) {
  EXPECT_FALSE(Frame());
  QuitRequested = true;
  EXPECT_TRUE(Frame());
}

TEST_F(FrameInputTest, DispatchRunsTheSlotOfTheState) {
  StateHandlers[APP_MAIN_SCREEN] = [] {
    ++mainScreenCalls;
    return 0;
  };
  AppState = APP_MAIN_SCREEN;
  EXPECT_FALSE(Frame());
  EXPECT_EQ(mainScreenCalls, 1);
  EXPECT_TRUE(panelCalls.empty()) << "only state 0 feeds the window buttons here";

  StateHandlers[APP_PRESET_DIALOG] = [] { return -1; };
  AppState = APP_PRESET_DIALOG;
  EXPECT_TRUE(Frame());

  for (int state : {1, 2, 3, int{APP_UPDATE_FAILED}, 12, -5, 1000}) {
    AppState = state;
    EXPECT_EQ(DispatchState(), 0) << "state " << state;
  }
}

}  // namespace

namespace {

// The frame function on a real (offscreen) window: the window follows a press in the top band.
class FrameDrag : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    OpenWindow(200, 100);
  }
  void MoveTo(float x, float y) { engine.input.BuildEvent(EVENT_MOUSE_MOVE, 0, 0, 0, x, y); }
  void Position(int* left, int* top) { platform::Current().GetWindowPosition(window, left, top); }
};

TEST_F(FrameDrag, PressInTheTopBandMovesTheWindowByTheMousesMovement) {
  int left = 0;
  int top = 0;
  Position(&left, &top);
  Press(100, 30);
  EXPECT_FALSE(Frame());
  MoveTo(130, 45);
  EXPECT_FALSE(Frame());
  int movedLeft = 0;
  int movedTop = 0;
  Position(&movedLeft, &movedTop);
  EXPECT_EQ(movedLeft, left + 30);
  EXPECT_EQ(movedTop, top + 15);

  // The pointer keeps its place in the window while it drags it along.
  MoveTo(110, 35);
  EXPECT_FALSE(Frame());
  Position(&movedLeft, &movedTop);
  EXPECT_EQ(movedLeft, left + 40);
  EXPECT_EQ(movedTop, top + 20);
  Release(110, 35);
  EXPECT_FALSE(Frame());
}

TEST_F(FrameDrag, PressLowerDownLeavesTheWindowWhereItIs) {
  int left = 0;
  int top = 0;
  Position(&left, &top);
  Press(400, 300);
  EXPECT_FALSE(Frame());
  MoveTo(450, 20);
  EXPECT_FALSE(Frame());
  int nowLeft = 0;
  int nowTop = 0;
  Position(&nowLeft, &nowTop);
  EXPECT_EQ(nowLeft, left);
  EXPECT_EQ(nowTop, top);
  Release(450, 20);
  EXPECT_FALSE(Frame());
}

}  // namespace

#include "ui/radio_group.h"

#include <gtest/gtest.h>

#include "callback_log.h"
#include "test_skin.h"
#include "ui/check.h"
#include "ui/panel.h"

namespace {
// Three round members at x 568, 599 and 630, added in that order, so the list runs 630, 599,
// 568 (positions 0, 1, 2).
class RadioGroupTest : public SkinTest {
 protected:
  void SetUp() override {
    CallbackLog().clear();
    const int xs[] = {568, 599, 630};
    for (int i = 0; i < 3; ++i) {
      members[i] = new UICheck(31 + i, kTall18x21, kSquare25A, kSquare25B, -1, xs[i], 531);
      members[i]->radioMember = true;
      members[i]->callback = RecordCallback;
      members[i]->userValue = 100 + i;
      group->AddMember(members[i]);
    }
  }
  void TearDown() override { delete group; }

  int CheckedCount() const {
    int n = 0;
    for (UICheck* m : members) n += m->checked ? 1 : 0;
    return n;
  }

  UIRadioGroup* group = new UIRadioGroup(0, 0, 0);
  UICheck* members[3] = {};
};

TEST_F(RadioGroupTest, ReleaseOverAMemberSelectsItAndCallsEveryMember) {
  EXPECT_EQ(group->kind, KIND_RADIO_GROUP);
  EXPECT_EQ(group->selected, -1);
  EXPECT_TRUE(group->HandleMouse(EVENT_HELD, 605, 540));
  EXPECT_TRUE(CallbackLog().empty());
  EXPECT_TRUE(group->HandleMouse(EVENT_RELEASED, 605, 540));
  EXPECT_EQ(group->selected, 1);
  EXPECT_TRUE(members[1]->checked);
  EXPECT_EQ(CheckedCount(), 1);
  ASSERT_EQ(CallbackLog().size(), 3u);
  // In list order: the last added first.
  EXPECT_EQ(CallbackLog()[0].control, members[2]);
  EXPECT_EQ(CallbackLog()[1].control, members[1]);
  EXPECT_EQ(CallbackLog()[2].control, members[0]);
  EXPECT_FALSE(CallbackLog()[0].checkedAtCall);
  EXPECT_TRUE(CallbackLog()[1].checkedAtCall);
  EXPECT_EQ(CallbackLog()[1].userValue, 101);
  EXPECT_EQ(CallbackLog()[1].event, EVENT_CLICKED);
}

TEST_F(RadioGroupTest, SelectingAnotherMemberUnchecksThePreviousOne) {
  group->HandleMouse(EVENT_RELEASED, 570, 531);
  EXPECT_TRUE(members[0]->checked);
  EXPECT_EQ(group->selected, 2);
  group->HandleMouse(EVENT_RELEASED, 631, 552);
  EXPECT_TRUE(members[2]->checked);
  EXPECT_FALSE(members[0]->checked);
  EXPECT_TRUE(members[0]->checkedImage.hidden);
  EXPECT_FALSE(members[0]->unchecked.hidden);
  EXPECT_EQ(CheckedCount(), 1);
}

TEST_F(RadioGroupTest, ReleaseOffEveryMemberChangesNothing) {
  group->Select(0);
  CallbackLog().clear();
  EXPECT_FALSE(group->HandleMouse(EVENT_RELEASED, 10, 10));
  EXPECT_TRUE(CallbackLog().empty());
  EXPECT_EQ(group->selected, 0);
}

TEST_F(RadioGroupTest, EveryMemberSeesEventsOtherThanAConsumedRelease) {
  // Hover over member 1; the others still see the event and lose their hover look.
  members[2]->ShowHover(true);
  EXPECT_FALSE(group->HandleMouse(EVENT_HOVER, 600, 535));
  EXPECT_FALSE(members[1]->hoverUnchecked.hidden);
  EXPECT_TRUE(members[2]->hoverUnchecked.hidden);
}

TEST_F(RadioGroupTest, SelectHidesHoverAndKeepsHiddenMembersHidden) {
  members[1]->ShowHover(true);
  members[0]->SetState(true, false);
  group->Select(2);
  EXPECT_TRUE(members[1]->hoverUnchecked.hidden);
  EXPECT_FALSE(members[1]->unchecked.hidden);
  EXPECT_TRUE(members[0]->checked);
  EXPECT_TRUE(members[0]->checkedImage.hidden);
}

TEST_F(RadioGroupTest, DrawsMembersInListOrder) {
  group->Draw();
  ASSERT_EQ(RecordedDraws().size(), 3u);
  EXPECT_EQ(RecordedDraws()[0].a[1], 630);
  EXPECT_EQ(RecordedDraws()[2].a[1], 568);
}

TEST_F(RadioGroupTest, PanelStateAndPositionReachTheMembers) {
  UIPanel panel(0, 0);
  panel.AddChild(group);
  panel.SetState(false, true);
  EXPECT_FALSE(members[0]->enabled);
  EXPECT_FLOAT_EQ(members[2]->unchecked.alpha, 0.5f);
  EXPECT_FALSE(panel.Dispatch(EVENT_RELEASED, 570, 531));
  panel.SetState(true, true);
  panel.SetPosition(10, 0);
  EXPECT_EQ(group->x, 10);
  EXPECT_EQ(members[0]->x, 578);
  EXPECT_TRUE(panel.Dispatch(EVENT_RELEASED, 578, 531));
  EXPECT_TRUE(members[0]->checked);
  group = nullptr;  // the panel owns it now
}
}  // namespace

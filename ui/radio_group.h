#pragma once
// UIRadioGroup: a set of check boxes of which one is selected. Not a panel: it owns its members,
// hands them events and draws them itself. A release over a member selects it.

#include "ui/base.h"

class UICheck;

class UIRadioGroup : public UIBase {
 public:
  // An empty group, nothing selected.
  UIRadioGroup(int id, int x, int y);
  // Destroys every member.
  ~UIRadioGroup() override;

  // Gives the event to every member in list order; a release a member consumes selects it.
  bool HandleMouse(int event, int x, int y) override;
  // Draws every member in list order.
  void Draw() override;
  // Moves the group and every member by the same offset.
  void SetPosition(int x, int y) override;
  // Passes the flags to every member.
  void SetState(bool enabled, bool visible) override;

  // Puts `member` at the front of the member list; the group owns it from now on. The caller
  // marks it as a radio member.
  void AddMember(UICheck* member);
  // Selects the member at list position `index`: it alone ends checked, and every member's
  // callback is called, the newly unselected ones included.
  void Select(int index);

  UICheck* first = nullptr;
  std::int32_t selected = -1;  // list position of the selected member
};

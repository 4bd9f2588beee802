#include "ui/radio_group.h"

#include <cassert>

#include "ui/check.h"

namespace {
UICheck* NextMember(const UICheck* member) {
  return static_cast<UICheck*>(member->next);
}
}  // namespace

UIRadioGroup::UIRadioGroup(int groupId, int atX, int atY) {
  kind = KIND_RADIO_GROUP;
  id = groupId;
  x = atX;
  y = atY;
}

UIRadioGroup::~UIRadioGroup() {
  UICheck* member = first;
  while (member) {
    UICheck* following = NextMember(member);
    delete member;
    member = following;
  }
}

bool UIRadioGroup::HandleMouse(int event, int mouseX, int mouseY) {
  bool consumed = false;
  int position = 0;
  for (UICheck* member = first; member; member = NextMember(member), ++position) {
    if (!member->HandleMouse(event, mouseX, mouseY)) continue;
    if (event == EVENT_RELEASED) {
      Select(position);
      return true;
    }
    consumed = true;
  }
  return consumed;
}

void UIRadioGroup::Draw() {
  for (UICheck* member = first; member; member = NextMember(member)) member->Draw();
}

void UIRadioGroup::SetPosition(int newX, int newY) {
  const int dx = newX - x;
  const int dy = newY - y;
  UIBase::SetPosition(newX, newY);
  for (UICheck* member = first; member; member = NextMember(member)) {
    member->SetPosition(member->x + dx, member->y + dy);
  }
}

void UIRadioGroup::SetState(bool isEnabled, bool isVisible) {
  for (UICheck* member = first; member; member = NextMember(member)) {
    member->SetState(isEnabled, isVisible);
  }
}

void UIRadioGroup::AddMember(UICheck* member) {
  assert(member);
  if (!member) return;
  member->next = first;
  first = member;
}

void UIRadioGroup::Select(int index) {
  selected = index;
  int position = 0;
  for (UICheck* member = first; member; member = NextMember(member), ++position) {
    member->SetChecked(position == index);
    if (member->callback) member->callback(member, EVENT_CLICKED, member->userValue);
  }
}

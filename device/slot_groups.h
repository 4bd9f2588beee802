#pragma once
// A batch's slots are awaited in groups, because one system wait covers at most 64 events: the
// slots 0 .. count-1 split into runs of 64 from the front, the last one shorter.

#include <vector>

constexpr int kEventsPerWait = 64;  // slots awaited under one deadline

struct SlotGroup {
  int first = 0;  // the group's first slot
  int count = 0;  // how many slots from there

  bool operator==(const SlotGroup&) const = default;
};

// The groups that slots 0 .. `slotCount` - 1 are awaited in, in order; none for no slots.
std::vector<SlotGroup> SlotGroups(int slotCount);

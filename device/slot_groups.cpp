#include "device/slot_groups.h"

std::vector<SlotGroup> SlotGroups(int slotCount) {
  std::vector<SlotGroup> groups;
  for (int first = 0; first < slotCount; first += kEventsPerWait) {
    const int left = slotCount - first;
    groups.push_back({first, left < kEventsPerWait ? left : kEventsPerWait});
  }
  return groups;
}

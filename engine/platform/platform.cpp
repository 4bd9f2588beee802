#include "engine/platform/platform.h"

namespace platform {
namespace {
Platform* chosen = nullptr;
}  // namespace

Platform& Current() {
  return chosen != nullptr ? *chosen : Linked();
}

void Use(Platform* platform) {
  chosen = platform;
}

}  // namespace platform

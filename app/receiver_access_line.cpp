#include "app/receiver_access_line.h"

#include <cstdint>
#include <string>

#include "app/carried_art.h"
#include "device/receiver_access.h"
#include "device/udev_rule.h"
#include "engine/bitmap_font.h"

namespace {

// The band below the notice's frame, clear of the window's edges.
constexpr float kBandLeft = 62.0f;
constexpr float kBandWidth = 900.0f;
constexpr float kBandHeight = 120.0f;
constexpr std::uint32_t kTextColour = 0xFFFFFFFFu;

}  // namespace

const char* ReceiverAccessLine() {
  if (LastReceiverOpenError() != HidOpenError::kPermissionDenied) return nullptr;
  static std::string line;
  line = "No permission to open the receiver.";
  // Windows needs no command for it: there the line stops at the fact.
  const std::string command = ReceiverAccessCommand();
  if (!command.empty()) line += " To allow it, run: " + command;
  return line.c_str();
}

void DrawReceiverAccessLine(int top) {
  const char* line = ReceiverAccessLine();
  if (line == nullptr || SmallFont == nullptr) return;
  SmallFont->SetColor(kTextColour);
  // The command holds a path: drawn as it stands, never as a format.
  SmallFont->PrintBoxText(kBandLeft, static_cast<float>(top), kBandWidth, kBandHeight, TEXT_CENTER,
                          line);
}

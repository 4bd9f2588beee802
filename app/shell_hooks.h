#pragma once
// Links from the shell to the parts it calls but does not own: the receiver connection, the
// settings document and the main screen. Start-up fills them once; a null link stands for a
// part that is not there, and the shell then does what it would do with no receiver, no
// settings and no screen.

#include <cstdint>

struct ReceiverHooks {
  void (*connect)(const char* devicePath) = nullptr;  // ConnectReceiver; null path: first found
  void (*disconnect)() = nullptr;                     // DisconnectReceiver
  bool (*isConnected)() = nullptr;                    // ReceiverConnected != 0
  std::uint32_t (*firmwareVersion)() = nullptr;       // WheelFirmwareVersion
  bool (*firmwareOutOfDate)() = nullptr;              // FirmwareOutOfDate
  void (*clearFirmwareOutOfDate)() = nullptr;         // FirmwareOutOfDate := 0
  bool (*upgradeRunning)() = nullptr;                 // the upgrade worker is writing the flash
  const char* (*connectedPath)() = nullptr;           // device node of the open receiver
};

struct SettingsHooks {
  bool (*newerAppAvailable)() = nullptr;  // NewerAppAvailable
  const char* (*downloadPage)() = nullptr;
  const char* (*supportPage)() = nullptr;  // null link: the built-in support page
};

// Widget events the handlers send to panels, numbered as the widget toolkit numbers them.
enum WidgetEvent : int {
  WIDGET_HELD = 1,
  WIDGET_HOVER = 2,
  WIDGET_RELEASED = 3,
};

struct ScreenHooks {
  // UIPanel::Dispatch on the window-buttons panel: true when a control took the event.
  bool (*dispatchWindowButtons)(int event, int x, int y) = nullptr;
  // DrawMainScreen, with the overlay of the current state.
  void (*drawMainScreen)() = nullptr;
};

extern ReceiverHooks receiverHooks;
extern SettingsHooks settingsHooks;
extern ScreenHooks screenHooks;

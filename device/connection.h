#pragma once
// Connecting the receiver when it is found and disconnecting it when it goes: opening the link,
// reading the firmware version and the stored profiles, noting a staged upgrade image, and
// saving and restoring the screen state around a removal.

#include <cstdint>

// 1 after a complete connection (version and profiles read), else 0.
extern std::int32_t ReceiverConnected;
// The version the receiver reported, high byte major; 0 when disconnected.
extern std::int32_t WheelFirmwareVersion;
// 1 when the receiver's upgrade area begins with "ORMIC_DFU".
extern std::int32_t DfuSignaturePresent;
// Set when the firmware is older than the carried image; cleared when the user accepts the
// upgrade.
extern std::uint8_t FirmwareOutOfDate;
// Makes the next connection start the upgrade (set before a staged signature is cleared).
extern std::int32_t UpgradeAfterReconnect;

// Opens the first receiver (`path` null) or the device at `path`, reads its version, loads its
// profiles into ProfileSet and from there into the controls (ProfileToControls), and restores the
// screen state through the connection listener. A receiver that returns holding exactly the
// records it held when it was last read or written keeps ProfileSet and the working state of all
// three profiles instead, unsaved edits included; the log says which happened. A receiver whose
// version cannot be read is disconnected again; one whose profiles cannot be read stays open but
// not connected.
void ConnectReceiver(const char* path);

// Tells the connection that the receiver now holds ProfileSet, marker included (a complete
// profile write).
void NoteProfilesWritten();

// Closes the link and, unless an update is in progress, saves the screen state and shows the
// no-receiver screen.
void DisconnectReceiver();

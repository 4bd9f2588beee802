#pragma once
// The firmware upgrade: a worker thread installs the carried image in the receiver's upgrade area
// while the update screen (or the command-line tool) shows its progress.
//
// The worker erases the upgrade area, writes the body, has the receiver compute the body's CRC,
// compares it with the image's own and only then writes the signature that marks the staged image
// as complete. It publishes its texts in ProgressMessage and ProgressPercent (device/progress.h)
// and clears UpgradeRunning only on success. It holds the receiver's writer lock
// (device/receiver_lock.h) while it writes.
//
// The link: the worker keeps its own reference to the receiver link, so a receiver pulled out in
// the middle of a transfer (DisconnectReceiver on the main thread) does not free the link under
// it; the worker's transfers then fail with the text of the step. From its start until it has
// finished writing, the worker is the link's only user (FirmwareUpgradeUsesLink).
//
// Quitting: the program stops the worker cleanly, then exits; it neither abandons the thread nor
// keeps the window up for the whole transfer. A stop request takes effect between steps and
// between groups of 48 request/reply pairs of a batch, so the worker ends within one group's time
// (about 50 ms at the USB full-speed pace, at most the group's 1 s deadline). It never writes the
// signature after a stop: the receiver keeps its old firmware and an unsigned body, which it
// ignores, and the next upgrade starts from the beginning. The pauses (the first text's, the one
// after success and the failure hold) are cut short by a stop, so they never delay the exit.

#include <chrono>

// How long the worker pauses: after its first text, before it sends anything; after success,
// with the full bar and "REMOVE WHEEL"; after a failure, so the failure text stays up before the
// worker ends.
struct UpgradePauses {
  std::chrono::milliseconds initial{0};
  std::chrono::milliseconds afterSuccess{0};
  std::chrono::milliseconds failureHold{0};
};

// The update screen's pauses: 750 ms, 1000 ms and 15000 ms.
inline constexpr UpgradePauses kScreenUpgradePauses{std::chrono::milliseconds(750),
                                                    std::chrono::milliseconds(1000),
                                                    std::chrono::milliseconds(15000)};
// The same steps without pauses, for the command-line tool.
inline constexpr UpgradePauses kNoUpgradePauses{};

// Starts the upgrade of the receiver open in ReceiverLink: AppState := 9, UpgradeRunning := 1,
// then the worker on a new thread. Its outcome shows only in ProgressMessage, ProgressPercent and
// UpgradeRunning. A worker left from an earlier upgrade (holding its failure text) is stopped and
// joined first. Called on the main thread.
void StartFirmwareUpgrade(const UpgradePauses& pauses = kScreenUpgradePauses);

// Whether the worker holds the receiver link; while it does, nobody else may use the link.
bool FirmwareUpgradeUsesLink();

// Waits at most `timeout` for the worker to end; true when no worker is running (any more).
bool WaitForFirmwareUpgrade(std::chrono::milliseconds timeout);

// Asks a running worker to stop at its next chance and waits for its thread to end; joins a
// worker that already ended, and returns at once when there is none. Called on the main thread,
// by tear-down at exit among others.
void StopFirmwareUpgrade();

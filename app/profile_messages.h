#pragma once
// The texts of the profile operations' message boxes.

inline constexpr const char* kClearProfileQuestion = "Clear Current Profile Data?";
inline constexpr const char* kResetProfileQuestion =
    "Reset Profile Data To Factory Default Setting?";
inline constexpr const char* kWriteFailedNotice = "ERROR WRITING DATA TO WHEEL";
// Asked before Assign Setting writes when what the receiver held could not be saved first; %s is
// the reason.
inline constexpr const char* kBackupFailedQuestion =
    "The profiles on the wheel could not be backed up (%s). Write anyway?";
// The line ends are as the wheel's first customiser wrote them: line feed before carriage return.
inline constexpr const char* kWriteDoneNotice =
    "Wheel profile data has been written correctly\n\r \n\rYou may now disconnect your wheel.";
inline constexpr const char* kSaveFailedNotice = "ERROR SAVING WHEEL PROFILE";
inline constexpr const char* kLoadFailedNotice = "ERROR LOADING WHEEL PROFILE";
inline constexpr const char* kCorruptProfileNotice = "Profile data is corrupt!";
inline constexpr const char* kProfileLoadedNotice =
    "Press the \"Assign Setting\" button\r\nto save the profile data to your Corsaro270 Wheel.";

#pragma once
// The automatic backups made before every write of the receiver's profile sector: one file of the
// three profiles (profile_backup_file.h) per write, named by its UTC date and time and the
// receiver's firmware version, e.g. "20261209T043851.123Z-fw0196.cs270set". Each records inside
// when it was made, a sequence number one above every backup in its folder, and which receiver
// it came from. Backups are ordered by that sequence, not by name or clock, so one made while the
// clock ran ahead never outranks a later one; those made before backups recorded this rank below
// all that do, by the time in their names. The newest 50 of each receiver are kept.
//
// Only the user's own files are trusted: the folders are made 0700 and the files 0600 whatever
// the umask, and a backup that is a link, belongs to another user or may be written by others is
// listed as refused, never restored, never counted and never deleted.

#include <cstdint>
#include <string>
#include <vector>

#include "profile/wheel_profile.h"

constexpr int kProfileBackupsKept = 50;

// The folder automatic backups go to: $XDG_DATA_HOME/corsaro270/backups, or
// ~/.local/share/corsaro270/backups when XDG_DATA_HOME is unset or not an absolute path. Empty
// when neither that nor an absolute HOME is known. On Windows %LOCALAPPDATA%\Corsaro270\backups.
std::string DefaultProfileBackupFolder();

// Where programs on a virtual receiver keep their backups, apart from a real receiver's so that
// they are never restored onto one: the "virtual" folder inside the default folder.
std::string VirtualReceiverBackupFolder();

// Makes automatic backups go to `folder` from now on; empty means the default folder. Programs on
// a virtual receiver keep theirs apart, so that they are never restored onto a real one.
void SetProfileBackupFolder(const std::string& folder);

// The folder automatic backups go to now.
std::string ProfileBackupFolder();

// One automatic backup found in the folder.
struct ProfileBackupEntry {
  enum class State {
    kSound,    // a backup of the user's own that passed every check
    kDamaged,  // the user's own, but its contents fail a check (`problem` says which)
    kRefused,  // not trusted: a link, another user's, or others may write it (`problem`)
  };
  std::string path;
  std::string date;  // "2026-12-09 04:38:51 UTC": when it was made, by the clock then
  std::int32_t firmwareVersion = 0;
  State state = State::kSound;
  std::string problem;
  bool recorded = false;  // carries its origin; older backups do not
  std::uint64_t sequence = 0;
  std::string receiver;  // which receiver it came from; empty when unknown
};

// The automatic backups in `folder`, newest first. Files whose names are not those of automatic
// backups are not listed (nor ever deleted).
std::vector<ProfileBackupEntry> ListProfileBackups(const std::string& folder);

// The newest sound backup that records it came from `receiver`, or null when there is none (an
// empty `receiver` has none).
const ProfileBackupEntry* LatestBackupOf(const std::vector<ProfileBackupEntry>& backups,
                                         const std::string& receiver);

// Saves `records`, read from the receiver named `receiver` (HidLink::Identity) running
// `firmwareVersion`, as a new automatic backup in ProfileBackupFolder() (made when missing),
// written atomically, then deletes all but the newest 50 of that receiver's backups there, never
// the new one. `savedPath` receives the new file's path; on failure `why` says what went wrong and
// nothing is left behind. A folder of another user's is refused; one of the user's own that
// others may open is closed to them first.
bool SaveProfileBackup(const WheelProfile (&records)[kProfileCount], std::int32_t firmwareVersion,
                       const std::string& receiver, std::string& savedPath, std::string& why);

#include "tools/cli/backup_commands.h"

#include <string>
#include <string_view>
#include <vector>

#include "common/terminal_text.h"
#include "device/connection.h"
#include "device/firmware_version.h"
#include "device/hid_link.h"
#include "device/profile_backup_file.h"
#include "device/profile_backups.h"
#include "device/wheel_protocol.h"
#include "profile/profile_set.h"
#include "tools/cli/cli.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/profile_report.h"

namespace {

std::string VersionText(std::int32_t version) {
  char text[16];
  FormatFirmwareVersion(version, text, sizeof text);
  return text;
}

const char* ReceiverText(const std::string& receiver) {
  return receiver.empty() ? "unknown" : receiver.c_str();
}

// Why `restore --latest` finds nothing for the receiver at hand, printed with what there is.
void PrintNoLatest(CliContext& context, const std::string& folder, const std::string& receiver,
                   std::size_t others) {
  if (receiver.empty()) {
    std::fputs(
        "The receiver does not tell which one it is (no USB serial number or port), so "
        "none of the automatic backups is known to be its own.\n",
        context.err);
  } else {
    std::fprintf(context.err, "There are no automatic backups of this receiver (%s) in %s.\n",
                 TerminalText(receiver).c_str(), TerminalText(folder).c_str());
  }
  if (others > 0) {
    std::fprintf(context.err,
                 "%zu other backups are there (backups --all lists them); restore FILE writes "
                 "one of them.\n",
                 others);
  }
}

// The backup `restore` reads: the named file, or the newest automatic one of the receiver.
bool ChooseBackup(CliContext& context, char** arguments, int count, std::string& path) {
  if (count == 1) {
    path = arguments[0];
    return true;
  }
  const std::string folder = ProfileBackupFolder();
  const std::vector<ProfileBackupEntry> backups = ListProfileBackups(folder);
  const ProfileBackupEntry* latest = LatestBackupOf(backups, ReceiverLink->Identity());
  if (latest == nullptr) {
    PrintNoLatest(context, folder, ReceiverLink->Identity(), backups.size());
    return false;
  }
  path = latest->path;
  return true;
}

// Reads the backup `restore` writes: every record must pass its check, and an automatic backup
// must still be a file of the user's own.
bool ReadChosenBackup(CliContext& context, const std::string& path,
                      WheelProfile (&records)[kProfileCount]) {
  std::string why;
  bool read = false;
  if (context.options.latest) {
    ProfileBackupOrigin origin;
    bool recorded = false;
    bool refused = false;
    read = ReadOwnProfileBackup(path, records, origin, recorded, refused, why);
  } else {
    read = ReadProfileBackup(path, records, why);
  }
  if (!read) {
    std::fprintf(context.err, "%s: %s. Nothing was written to the receiver.\n",
                 TerminalText(path).c_str(), TerminalText(why).c_str());
  }
  return read;
}

void PrintBackupText(CliContext& context, const ProfileBackupEntry& entry) {
  std::fprintf(context.out, "%s  firmware %s  receiver %s  %s\n", TerminalText(entry.date).c_str(),
               VersionText(entry.firmwareVersion).c_str(),
               TerminalText(ReceiverText(entry.receiver)).c_str(), TerminalText(entry.path).c_str());
  if (entry.state != ProfileBackupEntry::State::kSound) {
    std::fprintf(context.out, "  %s: %s\n",
                 entry.state == ProfileBackupEntry::State::kRefused ? "not trusted" : "damaged",
                 TerminalText(entry.problem).c_str());
    return;
  }
  WheelProfile records[kProfileCount];
  std::string why;
  if (!ReadProfileBackup(entry.path, records, why)) {
    std::fprintf(context.out, "  damaged: %s\n", TerminalText(why).c_str());
    return;
  }
  for (int i = 0; i < kProfileCount; ++i) {
    std::fprintf(context.out, "  Profile %d: %s\n", i + 1, ProfileSummary(records[i]).c_str());
  }
}

// The listing's date, "2026-12-09 04:38:51 UTC", as RFC 3339: "2026-12-09T04:38:51Z".
std::string Rfc3339Date(std::string date) {
  constexpr std::string_view kUtc = " UTC";
  if (date.size() > 10 && date[10] == ' ') date[10] = 'T';
  if (date.ends_with(kUtc)) date.replace(date.size() - kUtc.size(), kUtc.size(), "Z");
  return date;
}

void WriteBackupJson(JsonWriter& json, const ProfileBackupEntry& entry) {
  WheelProfile records[kProfileCount];
  std::string why = entry.problem;
  const bool valid = entry.state == ProfileBackupEntry::State::kSound &&
                     ReadProfileBackup(entry.path, records, why);
  json.BeginObject();
  json.Key("file");
  json.String(entry.path.c_str());
  json.Key("date");
  json.String(Rfc3339Date(entry.date).c_str());
  json.Key("firmware");
  json.String(VersionText(entry.firmwareVersion).c_str());
  json.Key("receiver");
  if (entry.receiver.empty()) {
    json.Null();
  } else {
    json.String(entry.receiver.c_str());
  }
  json.Key("trusted");
  json.Bool(entry.state != ProfileBackupEntry::State::kRefused);
  json.Key("valid");
  json.Bool(valid);
  if (valid) {
    json.Key("profiles");
    json.BeginArray();
    for (const WheelProfile& record : records) WriteProfileJson(json, record, false);
    json.EndArray();
  } else {
    json.Key("damage");
    json.String(why.c_str());
  }
  json.EndObject();
}

// The backups `backups` lists: every one with --all, else those of the connected receiver.
bool ListedBackups(CliContext& context, const std::string& folder,
                   std::vector<ProfileBackupEntry>& listed, std::size_t& others,
                   std::string& receiver) {
  std::vector<ProfileBackupEntry> backups = ListProfileBackups(folder);
  others = 0;
  if (context.options.all) {
    listed = std::move(backups);
    return true;
  }
  if (!ConnectForCli(context)) {
    std::fputs("backups --all lists the backups of every receiver without one.\n", context.err);
    return false;
  }
  receiver = ReceiverLink->Identity();
  for (ProfileBackupEntry& entry : backups) {
    if (!receiver.empty() && entry.receiver == receiver) {
      listed.push_back(std::move(entry));
    } else {
      ++others;
    }
  }
  return SaveReceiverState(context);
}

}  // namespace

int BackUpProfiles(CliContext& context, char** arguments, int) {
  if (!ConnectForCli(context)) return kExitFailure;
  bool stored = false;
  if (!ReadProfileFromReceiver(*ReceiverLink, &stored)) {
    std::fputs("The receiver did not answer while its profiles were read.\n", context.err);
    return kExitFailure;
  }
  std::string why;
  if (!WriteProfileBackup(arguments[0], ProfileSet, why)) {
    std::fprintf(context.err, "%s: %s\n", TerminalText(arguments[0]).c_str(),
                 TerminalText(why).c_str());
    return kExitFailure;
  }
  if (!SaveReceiverState(context)) return kExitFailure;
  Say(context, "Wrote the receiver's %s profiles 1-3 to %s.\n", stored ? "stored" : "factory",
      TerminalText(arguments[0]).c_str());
  return kExitOk;
}

int RestoreProfiles(CliContext& context, char** arguments, int count) {
  if (context.options.latest == (count == 1)) {
    std::fputs("Usage: corsaro270-cli [options] restore FILE | restore --latest\n", context.err);
    return kExitUsage;
  }
  // A named file is checked before the receiver is touched; the latest backup needs the
  // receiver, to know whose backups to take.
  WheelProfile records[kProfileCount];
  std::string path;
  if (count == 1 && (!ChooseBackup(context, arguments, count, path) ||
                     !ReadChosenBackup(context, path, records))) {
    return kExitFailure;
  }
  if (!ConnectForWriting(context)) return kExitFailure;
  if (count == 0 && (!ChooseBackup(context, arguments, count, path) ||
                     !ReadChosenBackup(context, path, records))) {
    return kExitFailure;
  }
  for (int i = 0; i < kProfileCount; ++i) ProfileSet[i] = records[i];
  if (!WriteProfilesForCli(context) || !SaveReceiverState(context)) return kExitFailure;
  Say(context, "Restored profiles 1-3 from %s.\n", TerminalText(path).c_str());
  return kExitOk;
}

int ListBackups(CliContext& context, char**, int) {
  const std::string folder = ProfileBackupFolder();
  std::vector<ProfileBackupEntry> backups;
  std::size_t others = 0;
  std::string receiver;
  if (!ListedBackups(context, folder, backups, others, receiver)) return kExitFailure;
  if (context.options.json) {
    JsonWriter json(context.out);
    json.BeginDocument();
    json.Key("folder");
    json.String(folder.c_str());
    if (!context.options.all) {
      json.Key("receiver");
      if (receiver.empty()) {
        json.Null();
      } else {
        json.String(receiver.c_str());
      }
      json.Key("others");
      json.Integer(static_cast<long long>(others));
    }
    json.Key("backups");
    json.BeginArray();
    for (const ProfileBackupEntry& entry : backups) WriteBackupJson(json, entry);
    json.EndArray();
    json.EndObject();
    json.Finish();
    return kExitOk;
  }
  for (const ProfileBackupEntry& entry : backups) PrintBackupText(context, entry);
  // Notes go to standard error, so that standard output holds only the backups listed.
  if (context.options.quiet) return kExitOk;
  if (backups.empty() && (context.options.all || receiver.empty())) {
    std::fprintf(context.err, "There are no automatic backups in %s.\n",
                 TerminalText(folder).c_str());
  } else if (backups.empty()) {
    std::fprintf(context.err, "There are no automatic backups of this receiver (%s) in %s.\n",
                 TerminalText(receiver).c_str(), TerminalText(folder).c_str());
  }
  if (others > 0) {
    std::fprintf(context.err,
                 "%zu more backups are of other receivers or older (backups --all lists them).\n",
                 others);
  }
  return kExitOk;
}

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

// The backup `restore` reads: the named file, or the newest automatic one.
bool ChooseBackup(CliContext& context, char** arguments, int count, std::string& path) {
  if (context.options.latest == (count == 1)) {
    std::fputs("Usage: corsaro270-cli [options] restore FILE | restore --latest\n", context.err);
    return false;
  }
  if (count == 1) {
    path = arguments[0];
    return true;
  }
  const std::string folder = ProfileBackupFolder();
  const std::vector<ProfileBackupEntry> backups = ListProfileBackups(folder);
  if (backups.empty()) {
    std::fprintf(context.err, "There are no automatic backups in %s.\n",
                 TerminalText(folder).c_str());
    return false;
  }
  path = backups.front().path;
  return true;
}

void PrintBackupText(CliContext& context, const ProfileBackupEntry& entry) {
  std::fprintf(context.out, "%s  firmware %s  %s\n", TerminalText(entry.date).c_str(),
               VersionText(entry.firmwareVersion).c_str(), TerminalText(entry.path).c_str());
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
  std::string why;
  const bool valid = ReadProfileBackup(entry.path, records, why);
  json.BeginObject();
  json.Key("file");
  json.String(entry.path.c_str());
  json.Key("date");
  json.String(Rfc3339Date(entry.date).c_str());
  json.Key("firmware");
  json.String(VersionText(entry.firmwareVersion).c_str());
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
  std::string path;
  if (!ChooseBackup(context, arguments, count, path)) {
    return context.options.latest == (count == 1) ? kExitUsage : kExitFailure;
  }
  // Every record must pass its check before anything goes to the receiver.
  WheelProfile records[kProfileCount];
  std::string why;
  if (!ReadProfileBackup(path, records, why)) {
    std::fprintf(context.err, "%s: %s. Nothing was written to the receiver.\n",
                 TerminalText(path).c_str(), TerminalText(why).c_str());
    return kExitFailure;
  }
  if (!ConnectForWriting(context)) return kExitFailure;
  for (int i = 0; i < kProfileCount; ++i) ProfileSet[i] = records[i];
  if (!WriteProfilesForCli(context) || !SaveReceiverState(context)) return kExitFailure;
  Say(context, "Restored profiles 1-3 from %s.\n", TerminalText(path).c_str());
  return kExitOk;
}

int ListBackups(CliContext& context, char**, int) {
  const std::string folder = ProfileBackupFolder();
  const std::vector<ProfileBackupEntry> backups = ListProfileBackups(folder);
  if (context.options.json) {
    JsonWriter json(context.out);
    json.BeginDocument();
    json.Key("folder");
    json.String(folder.c_str());
    json.Key("backups");
    json.BeginArray();
    for (const ProfileBackupEntry& entry : backups) WriteBackupJson(json, entry);
    json.EndArray();
    json.EndObject();
    json.Finish();
    return kExitOk;
  }
  if (backups.empty() && !context.options.quiet) {
    std::fprintf(context.err, "There are no automatic backups in %s.\n", folder.c_str());
  }
  for (const ProfileBackupEntry& entry : backups) PrintBackupText(context, entry);
  return kExitOk;
}

#include "tools/cli/preset_commands.h"

#include <strings.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/terminal_text.h"
#include "device/connection.h"
#include "device/hid_link.h"
#include "device/wheel_protocol.h"
#include "online/preset_download.h"
#include "profile/profile_file.h"
#include "profile/profile_set.h"
#include "tools/cli/cli.h"
#include "tools/cli/json_writer.h"

namespace {

const char* SettingsUrl(const CliContext& context) {
  return context.options.presetUrl.empty() ? kSettingsAddress : context.options.presetUrl.c_str();
}

bool FetchPresets(CliContext& context, std::vector<PresetEntry>& presets) {
  std::string error;
  if (FetchPresetList(SettingsUrl(context), presets, error)) return true;
  std::fprintf(context.err, "Cannot read the preset list from %s: %s\n",
               TerminalText(SettingsUrl(context)).c_str(), TerminalText(error).c_str());
  return false;
}

// Names are matched without regard to letter case, as people type them.
const PresetEntry* FindPreset(const std::vector<PresetEntry>& presets, const char* name) {
  for (const PresetEntry& preset : presets) {
    if (strcasecmp(preset.name, name) == 0) return &preset;
  }
  return nullptr;
}

// Prints a note whose line breaks are indented under the preset's name; carriage returns go, and
// any other control character is shown escaped.
void PrintNote(std::FILE* out, const char* note) {
  std::string line;
  for (const char* c = note;; ++c) {
    if (*c == '\r') continue;
    if (*c != '\n' && *c != '\0') {
      line += *c;
      continue;
    }
    std::fprintf(out, "    %s\n", TerminalText(line).c_str());
    line.clear();
    if (*c == '\0') return;
  }
}

bool DownloadCheckedPreset(CliContext& context, const PresetEntry& preset, WheelProfile& profile) {
  std::vector<unsigned char> bytes;
  std::string error;
  if (!DownloadPreset(preset.file, bytes, error)) {
    std::fprintf(context.err, "Cannot download preset \"%s\": %s\n",
                 TerminalText(preset.name).c_str(), TerminalText(error).c_str());
    return false;
  }
  // The same rule as a profile file's: the first 116 bytes count.
  const ProfileFileStatus status = CheckProfileBytes(bytes.data(), bytes.size(), profile);
  if (status == ProfileFileStatus::kOk) return true;
  std::fprintf(context.err, "Preset \"%s\" failed the profile file check: %s.\n",
               TerminalText(preset.name).c_str(), ProfileFileStatusText(status));
  return false;
}

void WritePresetsJson(CliContext& context, const std::vector<PresetEntry>& presets) {
  JsonWriter json(context.out);
  json.BeginDocument();
  json.Key("presets");
  json.BeginArray();
  for (const PresetEntry& preset : presets) {
    json.BeginObject();
    json.Key("name");
    json.String(preset.name);
    json.Key("type");
    json.Integer(preset.type);
    json.Key("note");
    json.String(preset.note);
    json.Key("file");
    json.String(preset.file);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  json.Finish();
}

}  // namespace

int ListPresets(CliContext& context, char**, int) {
  std::vector<PresetEntry> presets;
  if (!FetchPresets(context, presets)) return kExitFailure;
  if (context.options.json) {
    WritePresetsJson(context, presets);
    return kExitOk;
  }
  if (presets.empty() && !context.options.quiet) {
    std::fputs("The preset server lists no presets.\n", context.err);
  }
  for (const PresetEntry& preset : presets) {
    std::fprintf(context.out, "%s  (type %d)\n", TerminalText(preset.name).c_str(), preset.type);
    if (preset.note[0] != '\0') PrintNote(context.out, preset.note);
  }
  return kExitOk;
}

int InstallPreset(CliContext& context, char** arguments, int) {
  const char* name = arguments[0];
  const char* slot = arguments[1];
  if (std::strlen(slot) != 1 || slot[0] < '1' || slot[0] > '0' + kProfileCount) {
    std::fprintf(context.err, "Profile number must be 1, 2 or 3, not \"%s\".\n",
                 TerminalText(slot).c_str());
    return kExitUsage;
  }
  const int index = slot[0] - '1';

  std::vector<PresetEntry> presets;
  if (!FetchPresets(context, presets)) return kExitFailure;
  const PresetEntry* preset = FindPreset(presets, name);
  if (preset == nullptr) {
    std::fprintf(context.err, "No preset is called \"%s\" (see the presets command).\n",
                 TerminalText(name).c_str());
    return kExitFailure;
  }
  // Nothing reaches the receiver unless the preset passed its check.
  WheelProfile profile{};
  if (!DownloadCheckedPreset(context, *preset, profile)) return kExitFailure;

  if (!ConnectForWriting(context)) return kExitFailure;
  ProfileSet[index] = profile;
  if (!WriteProfilesForCli(context) || !SaveReceiverState(context)) return kExitFailure;
  Say(context, "Installed preset \"%s\" as profile %d.\n", TerminalText(preset->name).c_str(),
      index + 1);
  return kExitOk;
}

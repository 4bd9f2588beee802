#include "tools/emu/emu_options.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "device/firmware_version.h"

namespace {

// More than hidraw's queue of 64 reports, yet no flood that outlasts a reply's wait.
constexpr int kMostUnrelatedReports = 1000;

bool ParseCount(const std::string& text, int& count) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  count = std::atoi(text.c_str());
  return true;
}

// A command code as 0x03 or 03 (hex, not 0).
bool ParseCommandCode(const std::string& text, std::uint8_t& code) {
  const std::string digits = text.rfind("0x", 0) == 0 ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 2) return false;
  for (char c : digits) {
    if (std::isxdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  code = static_cast<std::uint8_t>(std::strtoul(digits.c_str(), nullptr, 16));
  return code != 0;
}

bool ParseProduct(const char* text, std::uint16_t& product) {
  if (std::strcmp(text, "0x0262") == 0 || std::strcmp(text, "0262") == 0) {
    product = 0x0262;
  } else if (std::strcmp(text, "0x0252") == 0 || std::strcmp(text, "0252") == 0) {
    product = 0x0252;
  } else {
    return false;
  }
  return true;
}

// Reads "--fault KIND [N]" at argv[i]; moves i past what it used.
bool ParseFaultOption(int argc, char** argv, int& i, EmuOptions& options, std::string& why) {
  if (i + 1 >= argc) {
    why = "--fault needs a kind";
    return false;
  }
  std::vector<std::string> words = {argv[++i]};
  const std::string& kind = words[0];
  if ((kind == "remove-after" || kind == "unrelated" || kind == "only") && i + 1 < argc) {
    words.push_back(argv[++i]);
  }
  return ApplyFault(words, 0, options.faults, why);
}

bool ParseValueOption(int argc, char** argv, int& i, EmuOptions& options, std::string& why) {
  const std::string option = argv[i];
  if (i + 1 >= argc || argv[i + 1][0] == '\0') {
    why = option + " needs a value";
    return false;
  }
  const char* value = argv[++i];
  if (option == "--flash") {
    options.flashFile = value;
  } else if (option == "--product") {
    if (!ParseProduct(value, options.productId)) {
      why = "bad product ID \"" + std::string(value) + "\" (0x0262 or 0x0252)";
      return false;
    }
  } else {
    if (!ParseFirmwareVersion(value, options.firmwareVersion)) {
      why = "bad firmware version \"" + std::string(value) + "\"";
      return false;
    }
    options.versionSet = true;
  }
  return true;
}

}  // namespace

void PrintEmuUsage(std::FILE* stream) {
  std::fputs(
      "Usage: corsaro270-emu [options]\n"
      "\n"
      "Plays a Corsaro 270 USB receiver through the kernel's /dev/uhid, so that the customiser\n"
      "and corsaro270-cli find it as a real receiver. Needs write access to /dev/uhid.\n"
      "\n"
      "Options:\n"
      "  --flash FILE              keep the receiver's flash in FILE (the corsaro270-cli\n"
      "                            --virtual format; created when it does not exist)\n"
      "  --firmware-version V      the firmware version it reports, as 1.96 or 0x0196\n"
      "  --product ID              0x0262 (default) or 0x0252\n"
      "  --usb-pace                one report per millisecond each way, like full-speed USB\n"
      "  --fault KIND [N]          misbehave: no-reply, wrong-code, wrong-magic, wrong-crc,\n"
      "                            remove-after N (pulled out after N requests),\n"
      "                            unrelated N (N reports of no command before each reply),\n"
      "                            only CODE (the faults hit command CODE only, as 0x03);\n"
      "                            --fault may be given more than once\n"
      "  --help                    show this text\n"
      "\n"
      "SIGUSR1 or the line \"replug\" on standard input pulls the receiver out and plugs it in\n"
      "again, which installs a staged firmware image; \"unplug\", \"plug\" and \"fault KIND [N]\"\n"
      "work the same way. SIGTERM or SIGINT removes the receiver, saves the flash and ends.\n",
      stream);
}

bool ParseEmuOptions(int argc, char** argv, EmuOptions& options, std::string& why) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help") {
      options.help = true;
    } else if (option == "--usb-pace") {
      options.usbPace = true;
    } else if (option == "--fault") {
      if (!ParseFaultOption(argc, argv, i, options, why)) return false;
    } else if (option == "--flash" || option == "--product" || option == "--firmware-version") {
      if (!ParseValueOption(argc, argv, i, options, why)) return false;
    } else {
      why = "unknown option " + option;
      return false;
    }
  }
  return true;
}

bool ApplyFault(const std::vector<std::string>& words, int requestsSoFar,
                VirtualReceiverFaults& faults, std::string& why) {
  const std::string kind = words.empty() ? std::string() : words[0];
  const bool counted = kind == "remove-after" || kind == "unrelated" || kind == "only";
  if (words.size() != (counted ? 2u : 1u)) {
    why = "fault none|no-reply|wrong-code|wrong-magic|wrong-crc|remove-after N|unrelated N|"
          "only CODE";
    return false;
  }
  if (kind == "only") {
    if (!ParseCommandCode(words[1], faults.onlyCode)) {
      why = "only needs a command code such as 0x03, not \"" + words[1] + "\"";
      return false;
    }
    return true;
  }
  if (kind == "none") {
    faults = {};
  } else if (kind == "no-reply") {
    faults.noReply = true;
  } else if (kind == "wrong-code") {
    faults.wrongCode = true;
  } else if (kind == "wrong-magic") {
    faults.wrongMagic = true;
  } else if (kind == "wrong-crc") {
    faults.wrongCrc = true;
  } else if (counted) {
    int count = 0;
    if (!ParseCount(words[1], count)) {
      why = kind + " needs a count, not \"" + words[1] + "\"";
      return false;
    }
    if (kind == "unrelated") {
      if (count > kMostUnrelatedReports) {
        why = "unrelated takes at most " + std::to_string(kMostUnrelatedReports) + " reports";
        return false;
      }
      faults.unrelatedBeforeReply = count;
    } else {
      faults.removeAfterReports = requestsSoFar + count;
    }
  } else {
    why = "unknown fault \"" + kind + "\"";
    return false;
  }
  return true;
}

EmuCommand ParseEmuCommand(const std::string& line, std::vector<std::string>& words) {
  words.clear();
  std::istringstream stream(line);
  for (std::string word; stream >> word;) words.push_back(word);
  if (words.empty()) return EmuCommand::kNone;
  const std::string name = words[0];
  words.erase(words.begin());
  if (name == "fault") return EmuCommand::kFault;
  if (!words.empty()) return EmuCommand::kBad;
  if (name == "replug") return EmuCommand::kReplug;
  if (name == "unplug") return EmuCommand::kUnplug;
  if (name == "plug") return EmuCommand::kPlug;
  return EmuCommand::kBad;
}

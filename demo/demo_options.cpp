#include "demo/demo_options.h"

#include <cstring>

#include "device/firmware_version.h"
#include "engine/display_scale.h"

namespace {

const char* const kUsage =
    "Usage: corsaro270-demo [options]\n"
    "\n"
    "Runs the Corsaro 270 Customiser on a virtual receiver, for trying it without a wheel.\n"
    "While no script runs, F5 plugs the virtual receiver in or pulls it out.\n"
    "\n"
    "Options:\n"
    "  --flash FILE              keep the receiver's flash in FILE, as corsaro270-cli --virtual\n"
    "                            does: read at the start (a fresh receiver when FILE does not\n"
    "                            exist yet) and written back at exit. While the demo runs it\n"
    "                            holds FILE's receiver lock, so corsaro270-cli --virtual FILE\n"
    "                            refuses to write it. Without it the receiver starts fresh\n"
    "                            and is not kept.\n"
    "  --firmware-version V      the firmware version the receiver reports, as 1.96 or 0x0196\n"
    "  --no-receiver             start with the receiver unplugged\n"
    "  --hidraw                  use the system's receivers (udev, hidraw and udev's monitor,\n"
    "                            e.g. one played by corsaro270-emu) instead of the virtual one;\n"
    "                            the script commands plug, unplug, firmware-version, fault and\n"
    "                            dump-flash are refused then\n"
    "  --usb-pace                the receiver answers at USB full speed (one report per\n"
    "                            millisecond each way) instead of at once\n"
    "  --draw-every-frame        draw and present every frame, also one that would repeat the\n"
    "                            picture on the screen (the program skips those)\n"
    "  --scale N                 draw at N physical pixels per pixel (1, 2 or 3): the window\n"
    "                            keeps its 1024 by 600 layout and the script its positions;\n"
    "                            screenshots have N times the pixels. Default: the\n"
    "                            CORSARO_SCALE environment variable, else the desktop's scale\n"
    "  --settings URL            the settings document that lists the presets (http, https or\n"
    "                            file address). Default: the bundled presets, from the first\n"
    "                            of these folders that holds tarnwick270/settings.xml:\n"
    "                            PROGRAM/presets, PROGRAM/../share/corsaro270/presets (an\n"
    "                            installed demo), PROGRAM/../../assets/presets (PROGRAM being\n"
    "                            the folder of this program) and the assets/presets folder of\n"
    "                            the source tree it was built from\n"
    "  --script FILE             run the commands in FILE (below); needs --out\n"
    "  --out DIR                 where the run writes its results and the log; created when\n"
    "                            missing, refused when it belongs to another user, and no\n"
    "                            file is written through a link found in it. Without it the\n"
    "                            log is Corsaro270-demo.log beside the program, or in\n"
    "                            ~/.local/state/corsaro270 when installed\n"
    "  --help                    show this text\n"
    "\n"
    "Script commands, one a line; '#' at the start of a line or after a blank starts a comment:\n"
    "  frames N                  let N frames pass\n"
    "  move X Y                  move the pointer to (X, Y) in the window (one frame)\n"
    "  down, up                  press, release the left button (one frame each)\n"
    "  click X Y                 move, down, 2 frames, up, 2 frames\n"
    "  drag X1 Y1 X2 Y2          move, down, 2 frames, 8 moves of one frame each, up, 2 frames\n"
    "  wheel N                   turn the wheel N notches, positive away from the user\n"
    "                            (one frame)\n"
    "  key NAME                  press and release the key the program names NAME, such as\n"
    "                            Escape, F5 or Left Arrow (one frame each)\n"
    "  answer yes|no             the answer to the next question box; other boxes close by\n"
    "                            themselves, and a question without an answer gets No\n"
    "  file PATH|cancel          the file the next file chooser picks, or cancel it; relative\n"
    "                            paths are taken in the script's folder\n"
    "  plug, unplug              plug the receiver in, pull it out, each with its device\n"
    "                            notice (one frame)\n"
    "  firmware-version V        the version the receiver reports from the next plug on\n"
    "  fault KIND [N]            the receiver misbehaves: no-reply, wrong-code, wrong-magic,\n"
    "                            wrong-crc, remove-after N (pulled out after N more requests);\n"
    "                            none ends every fault\n"
    "  wait-state N [MAXFRAMES]  run frames until AppState is N, at most MAXFRAMES (900)\n"
    "  wait-progress P [MAXFRAMES]  run frames until the firmware upgrade's bar shows at least\n"
    "                            P percent, at most MAXFRAMES (900)\n"
    "  screenshot NAME           OUT/NAME.png: the window's 1024 by 600 pixels as presented,\n"
    "                            times the scale on each side\n"
    "  dump-flash NAME           OUT/NAME.bin: the receiver's 131072 bytes of flash\n"
    "  quit                      end the program through its exit path (Escape)\n"
    "The script is checked whole before the window opens. When it ends, the program quits.\n"
    "\n"
    "Written to OUT: Corsaro270.log, the program's log; messages.txt, one line per message or\n"
    "question box (info, error or question, the caption and the text, separated by tabs, with\n"
    "\\n, \\r, \\t and \\\\ escaped); states.txt, FRAME<TAB>STATE on the first frame and on each\n"
    "frame that begins in another AppState.\n"
    "\n"
    "Exit status: 0 the program ended; 1 the run failed (no window, or the flash file could not\n"
    "be written or is in use by another program); 2 bad options; 3 a script error, with LINE:\n"
    "reason on standard error; 128+N ended by signal N (SIGTERM, SIGINT or SIGHUP), through the\n"
    "exit path: the flash file is saved.\n";

bool Fail(std::string* error, std::string why) {
  *error = std::move(why);
  return false;
}

}  // namespace

bool ParseDemoOptions(int argc, char** argv, DemoOptions* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help") {
      options->help = true;
    } else if (option == "--no-receiver") {
      options->noReceiver = true;
    } else if (option == "--usb-pace") {
      options->usbPace = true;
    } else if (option == "--hidraw") {
      options->hidraw = true;
    } else if (option == "--draw-every-frame") {
      options->drawEveryFrame = true;
    } else if (option == "--flash" || option == "--firmware-version" || option == "--settings" ||
               option == "--script" || option == "--out" || option == "--scale") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return Fail(error, option + " needs a value");
      const char* value = argv[++i];
      if (option == "--flash") {
        options->flashFile = value;
      } else if (option == "--settings") {
        options->settingsAddress = value;
      } else if (option == "--script") {
        options->scriptFile = value;
      } else if (option == "--out") {
        options->outFolder = value;
      } else if (option == "--scale") {
        options->windowScale = ParseWindowScale(value);
        if (options->windowScale == 0)
          return Fail(error, std::string("bad scale \"") + value + "\" (1, 2 or 3)");
      } else if (!ParseFirmwareVersion(value, options->firmwareVersion)) {
        return Fail(error, std::string("bad firmware version \"") + value +
                               "\" (write it as 1.96 or 0x0196)");
      } else {
        options->firmwareVersionSet = true;
      }
    } else if (option.rfind("--", 0) == 0) {
      return Fail(error, "unknown option " + option);
    } else {
      return Fail(error, "unexpected argument \"" + option + "\"");
    }
  }
  if (options->hidraw && (options->noReceiver || options->usbPace || options->firmwareVersionSet ||
                          !options->flashFile.empty())) {
    return Fail(error,
                "--hidraw uses the receiver the system has: --flash, --firmware-version, "
                "--no-receiver and --usb-pace belong to the virtual one");
  }
  if (!options->help && !options->scriptFile.empty() && options->outFolder.empty()) {
    return Fail(error, "--script needs --out");
  }
  return true;
}

void PrintDemoUsage(std::FILE* stream) {
  std::fputs(kUsage, stream);
}

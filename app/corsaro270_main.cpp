// The customiser for a real receiver. Its only options are --help and --version, which print and
// exit; without them, and with any other argument, it opens its window as it always has.
#include <cstdio>
#include <cstring>

#include "app/app_version.h"
#include "app/startup.h"

namespace {

const char* const kUsage =
    "Usage: corsaro270 [--help | --version]\n"
    "\n"
    "Opens the Corsaro 270 Customiser's window, in which the profiles stored in the USB receiver\n"
    "of the Corsaro 270 wireless racing wheel are edited. One customiser runs per user: starting\n"
    "it again raises the running one's window.\n"
    "\n"
    "  --help                    show this text\n"
    "  --version                 show the program's version\n"
    "\n"
    "corsaro270-demo is the same program on a virtual receiver; corsaro270-cli works on the\n"
    "receiver without a window. Exit status: 0 the window was closed, 1 it could not be opened.\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("corsaro270 %s\n", kAppVersionText);
      return kExitOk;
    }
  }
  return RunCustomiser();
}

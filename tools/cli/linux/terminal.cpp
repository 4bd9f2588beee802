#include "tools/cli/terminal.h"

#include <unistd.h>

const char kBackupFolderHelp[] =
    "$XDG_DATA_HOME/corsaro270/backups (else ~/.local/share/corsaro270/backups)";

bool IsRedrawingTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) == 1;
}

#include "tools/cli/terminal.h"

#include <io.h>
#include <windows.h>

const char kBackupFolderHelp[] = "%LOCALAPPDATA%\\Corsaro270\\backups";

// _isatty also says yes to NUL; only a console has a console mode.
bool IsRedrawingTerminal(std::FILE* stream) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return false;
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

#include <windows.h>

#include <shlwapi.h>

#include "engine/wildcard.h"

bool WildcardMatches(const char* pattern, const char* name) {
  return PathMatchSpecA(name, pattern) != FALSE;
}

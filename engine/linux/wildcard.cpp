#include "engine/wildcard.h"

#include <fnmatch.h>

bool WildcardMatches(const char* pattern, const char* name) {
  return fnmatch(pattern, name, FNM_CASEFOLD) == 0;
}

// libepoxy resolves every GL function on first call; there is nothing to load.
#include "engine/gl_api.h"

int LoadGlFunctions() {
  return epoxy_gl_version();
}

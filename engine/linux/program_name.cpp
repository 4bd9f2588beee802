#include "engine/program_name.h"

#include <cerrno>

const char* ProgramShortName() {
  return program_invocation_short_name;
}

#include "common/path_separator.h"

const char kPathSeparator[] = "/";

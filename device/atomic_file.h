#pragma once
// Replacing a file so that it is never seen half-written and never lost.

#include <cstddef>
#include <string>

// Replaces the file at `path` with `size` bytes. They go to a new temporary file in the same
// folder, made by mkstemp (a fresh name, so no link planted there and no second run can be
// written through), are flushed to disk, and the temporary is renamed over `path`. A symbolic
// link at `path` is followed: the file it names is replaced. The file keeps its permissions; a new
// one gets `newFileMode` exactly, or with 0 the usual ones (0666 less the umask). On failure
// `path` is as it was, no temporary is left, and `why` says what went wrong.
bool WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         std::string& why, unsigned newFileMode = 0);

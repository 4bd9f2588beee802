#pragma once
// Saving a file so that it is never seen half-written, never lost, and never turned against the
// user by what another user put in its place.

#include <cstddef>
#include <string>

// Saves `size` bytes as the file at `path`.
// - A symbolic link at `path` is followed only where the kernel's protection of shared folders
//   would follow it: the link is this user's own, or its folder's owner's, or the folder is not
//   both sticky and writable by all. Otherwise the save fails and nothing is touched.
// - A regular file, or none: the bytes go to a new temporary .NAME.XXXXXX in the same folder
//   (locked while it is written), are flushed to disk, and the temporary is renamed over the
//   file. An existing file keeps its permissions, owner and group; a new one gets
//   `newFileMode`, or 0666 less the umask when that is 0.
// - An existing file this user may not open for writing is not saved over. The kernel decides,
//   as it does for any program: root may write a read-only file. Nor is another user's file in
//   such a shared folder, under the same rule as links.
// - A writable file in a folder that takes no new file, or whose owner cannot be kept, is
//   written in place instead, which is not atomic.
// - A character device (such as /dev/null) is written in place; a folder, FIFO, socket or block
//   device is refused and left as it is.
// - Temporaries of the same file left by a save that was killed (this user's own, not locked by
//   a running save, a few seconds old) are removed.
// On failure `why` says what went wrong, no temporary is left and, unless an in-place write
// failed halfway, the file is as it was.
// That is Linux (linux/atomic_file.cpp). On Windows (win32/atomic_file.cpp) the temporary is
// written through to the disk and MoveFileExW replaces the file with it; a read-only file, a
// folder, a link and a device are refused and left as they are; a reader that holds the file
// without sharing its deletion is waited for, a second at most; who may write is the folder's
// access list's business, so `newFileMode` is not used.
bool WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size,
                         std::string& why, unsigned newFileMode = 0);

// Removes, as a save does for its own file, the stale temporaries in `folder` of every file whose
// name `isTarget` accepts: for files that are never saved twice under one name.
void RemoveStaleTemporaries(const std::string& folder, bool (*isTarget)(const std::string& name));

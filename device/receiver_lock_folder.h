#pragma once
// Where the receiver locks' files live, for the platform's lock (linux/, win32/).

#include <string>

// The folder of this user's lock files, made when missing; empty, with `why`, when no folder
// can be used safely.
std::string ReceiverLockFolder(std::string& why);

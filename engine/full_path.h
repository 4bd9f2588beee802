#pragma once
// Names of files made absolute against the program's folder, with the platform's separators.

#include <cstddef>

// Room for the longest path the platform accepts, with its terminating zero.
constexpr std::size_t kMaxPath = 4096;
constexpr char kSeparator = '/';

// A name that begins with a slash or backslash, or whose second character is a colon.
bool IsAbsoluteName(const char* name);
// Writes folder + name (or name alone when absolute; folder alone for null) into out, which holds
// kMaxPath characters, with every separator made kSeparator. A result that would not fit gives an
// empty text and false, so that no file operation acts on a cut-off path.
bool MakeFullPath(const char* folder, const char* name, char* out);

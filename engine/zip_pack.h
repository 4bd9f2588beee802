#pragma once
// Whole entries read out of zip resource packs, with the traditional zip password when one is
// given. Entry names compare without regard to case, with either separator.

#include <cstdint>

namespace zip_pack {

// The file exists and reads as a zip archive.
bool CanOpen(const char* path);

enum class Lookup {
  kNotFound,  // the pack has no such entry (or cannot be opened): try elsewhere
  kLoaded,    // *data holds the whole entry (free it with std::free), *size its length
  kFailed,    // the entry exists but is damaged, the password is wrong or memory ran out
};

// Reads the entry called name out of the pack at path.
Lookup Load(const char* path, const char* password, const char* name, void** data,
            std::uint32_t* size);

}  // namespace zip_pack

// Feeds arbitrary bytes to the zip pack reader as a resource pack, reading entries without a
// password and with one, as the engine's resource loading does.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/fuzz/scratch_file.h"
#include "engine/zip_pack.h"

namespace {

// The names and the password the seeds are made with (tools/fuzz/make_seeds.py).
constexpr const char* kNames[] = {"data.txt", "Skin\\Skin.PNG", "deflated.bin"};
constexpr const char* kPasswords[] = {nullptr, "corsaro"};

void LoadEach(const char* path) {
  for (const char* password : kPasswords) {
    for (const char* name : kNames) {
      void* data = nullptr;
      std::uint32_t size = 0;
      const zip_pack::Lookup result = zip_pack::Load(path, password, name, &data, &size);
      if (result != zip_pack::Lookup::kLoaded) {
        if (data != nullptr) std::abort();
        continue;
      }
      if (data == nullptr) std::abort();
      // Every byte of a loaded entry can be read.
      volatile unsigned char sum = 0;
      for (std::uint32_t i = 0; i < size; ++i) sum = sum + static_cast<unsigned char*>(data)[i];
      std::free(data);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ScratchFile file(".zip");
  const char* path = file.Hold(data, size);
  zip_pack::CanOpen(path);
  LoadEach(path);
  return 0;
}

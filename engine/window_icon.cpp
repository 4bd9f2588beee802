// Program resources by number, and the icon the engine gives its window.
#include "engine/window_icon.h"

#include <cstdint>
#include <map>

#include "engine/engine_impl.h"

namespace {

std::map<int, std::span<const unsigned char>>& Resources() {
  static std::map<int, std::span<const unsigned char>> resources;
  return resources;
}

ImageArgb& AppliedIcon() {
  static ImageArgb icon;
  return icon;
}

}  // namespace

void RegisterProgramResource(int number, std::span<const unsigned char> bytes) {
  if (bytes.empty()) {
    Resources().erase(number);
  } else {
    Resources()[number] = bytes;
  }
}

std::span<const unsigned char> ProgramResource(int number) {
  const auto found = Resources().find(number);
  return found != Resources().end() ? found->second : std::span<const unsigned char>{};
}

const ImageArgb& LastWindowIcon() {
  return AppliedIcon();
}

bool EngineImpl::DecodeIcon(ImageArgb* image) {
  if (IsResourceId(icon)) {
    const int number = static_cast<int>(reinterpret_cast<std::uintptr_t>(icon));
    const std::span<const unsigned char> bytes = ProgramResource(number);
    if (bytes.empty() || !DecodePng(bytes.data(), bytes.size(), image)) {
      System_Log("Can't load icon: resource %d", number);
      return false;
    }
    return true;
  }
  std::uint32_t size = 0;
  void* bytes = Resource_Load(icon, &size);
  const bool decoded = bytes != nullptr && DecodePng(bytes, size, image);
  Resource_Free(bytes);
  if (!decoded) System_Log("Can't load icon: %s", icon);
  return decoded;
}

void EngineImpl::ApplyWindowIcon() {
  // Without an icon state the desktop shows its own default icon.
  if (window == nullptr || icon == nullptr) return;
  ImageArgb image;
  if (!DecodeIcon(&image)) return;
  // The window system keeps its own copy of the pixels.
  if (!os.SetIcon(window, image.pixels.data(), image.width, image.height)) {
    System_Log("Can't set the window icon: %s", os.LastError());
    return;
  }
  AppliedIcon() = std::move(image);
}
